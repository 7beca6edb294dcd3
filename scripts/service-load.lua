-- wrk's script for scripts/service-load.sh.
-- Arguments: OPERATION (save or fetch), BODIES (one request body a line), ANSWERS (the exact
-- answer body of each, or the one answer of every save), THREADS (wrk's -t).
-- Thread ID of THREADS sends bodies ID, ID + THREADS, ... (counting from 0) round and round, so the banks a save
-- round sent follow from the counts that done() prints.
-- An answer other than the exact expected body counts as wrong; a fetch answer also counts as
-- wrong when it belongs to a bank that this thread has no request in flight for (an answer
-- swapped between two requests in flight on one thread goes unseen).

local threads = {}

function setup(thread)
   thread:set("id", #threads)
   table.insert(threads, thread)
end

local function lines(path)
   local list = {}
   for line in io.lines(path) do
      list[#list + 1] = line
   end
   return list
end

function init(args)
   operation = args[1]
   local bodies, answers = lines(args[2]), lines(args[3])
   local count = tonumber(args[4])
   wrk.method = "POST"
   wrk.path = "/"
   wrk.headers["Content-Type"] = "application/x-www-form-urlencoded"
   requests, inFlight, answerOf = {}, {}, {}
   for i = id + 1, #bodies, count do
      requests[#requests + 1] = wrk.format(nil, nil, nil, bodies[i])
      inFlight[#requests] = 0
      if operation == "fetch" then
         answerOf[answers[i]] = #requests
      end
   end
   saveAnswer = answers[1]
   issued, wrong, sample = 0, 0, ""
end

function request()
   -- Before starting, wrk asks thread 0 for one request to see whether the script pipelines;
   -- that one is never sent.
   if id == 0 and not asked then
      asked = true
      return requests[1]
   end
   local k = issued % #requests + 1
   issued = issued + 1
   inFlight[k] = inFlight[k] + 1
   return requests[k]
end

local function expected(status, body)
   if status ~= 200 then
      return false
   end
   if operation == "save" then
      return body == saveAnswer
   end
   local k = answerOf[body]
   if k == nil or inFlight[k] == 0 then
      return false
   end
   inFlight[k] = inFlight[k] - 1
   return true
end

function response(status, headers, body)
   -- wrk counts statuses from 400 up as errors itself.
   if status < 400 and not expected(status, body) then
      wrong = wrong + 1
      if sample == "" then
         sample = string.sub(status .. " " .. body, 1, 200)
      end
   end
end

function done(summary, latency)
   local wrongAnswers = 0
   for _, thread in ipairs(threads) do
      wrongAnswers = wrongAnswers + thread:get("wrong")
      io.write(string.format("issued %d %d %d\n", #threads, thread:get("id"), thread:get("issued")))
      if thread:get("sample") ~= "" then
         io.write("sample " .. thread:get("sample") .. "\n")
      end
   end
   local errors = summary.errors
   io.write(string.format("result %d %d %d %d %d %d %d %d %d %d\n", summary.requests,
                          summary.duration, errors.connect, errors.read, errors.write,
                          errors.status, errors.timeout, wrongAnswers, latency:percentile(50),
                          latency:percentile(99)))
end
