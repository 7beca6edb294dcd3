// quillet-service-load-bodies: what scripts/service-load.sh needs around wrk. `prepare` writes
// the request bodies, saves the banks that the fetch rounds ask for, and writes the exact answers
// the service gave (checked here once, compared byte for byte by wrk's script afterwards).
// `verify` fetches every bank the save rounds sent and checks it holds exactly its words.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "service/Envelope.h"
#include "service/NormalModel.h"
#include "wordbank/WordModel.h"

namespace stdfs = std::filesystem;
using namespace quillet;

namespace {

constexpr const char* kUsage =
    "usage: quillet-service-load-bodies prepare URL DIR SAVE_BANKS FETCH_BANKS\n"
    "       quillet-service-load-bodies verify URL DIR SENT_FILE\n";

constexpr int kWorkers = 8;
constexpr std::size_t kBanksPerOwner = 100; // half of what the service lets one owner keep
constexpr std::size_t kWordsPerBank = 100;
constexpr const char* kAsker = "0000000000000000000000000000A5CE";

enum class Pool : unsigned { fetch = 1, save = 2 };

struct LoadBank {
    std::string token;
    std::string owner;
    std::string title;
    std::string words;
};

std::string hexName(unsigned tag, Pool pool, std::size_t number) {
    char text[33];
    std::snprintf(text, sizeof text, "%08X%08X%016llX", tag, static_cast<unsigned>(pool),
                  static_cast<unsigned long long>(number));
    return text;
}

// Words of eight letters that spell the pool, the bank and the word's place in it, so no two
// banks share a word and a bank holding another's words shows.
std::string wordsOf(Pool pool, std::size_t index) {
    std::string text;
    for (std::size_t j = 0; j < kWordsPerBank; ++j) {
        std::string word(8, 'a');
        word[0] = static_cast<char>('a' + static_cast<unsigned>(pool));
        for (std::size_t n = index * kWordsPerBank + j, k = 1; k < 8; ++k, n /= 26) {
            word[k] = static_cast<char>('a' + n % 26);
        }
        text += (j == 0 ? "" : ",") + word;
    }
    return text;
}

LoadBank bankOf(Pool pool, std::size_t index) {
    return {hexName(0x10AD0000u, pool, index), hexName(0x0E0E0000u, pool, index / kBanksPerOwner),
            "load " + std::to_string(index), wordsOf(pool, index)};
}

std::string formBody(const nlohmann::json& request) {
    return "data=" + httplib::detail::encode_query_param(wrapEnvelope(request.dump()));
}

std::string saveBody(const LoadBank& bank) {
    return formBody({{"port", 1020},
                     {"id", bank.token},
                     {"uuid", bank.owner},
                     {"tool", "Quillet"},
                     {"title", bank.title},
                     {"text", bank.words}});
}

std::string fetchBody(const LoadBank& bank, const std::string& asker) {
    return formBody({{"port", 1021}, {"id", bank.token}, {"uuid", asker}});
}

// The answer's exact bytes, or nothing when no answer came.
std::optional<std::string> post(httplib::Client& client, const std::string& body) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (auto response = client.Post("/", body, "application/x-www-form-urlencoded")) {
            if (response->status != 200) {
                return std::nullopt;
            }
            return response->body;
        }
    }
    return std::nullopt;
}

std::optional<NormalModel> decode(const std::optional<std::string>& raw) {
    if (!raw) {
        return std::nullopt;
    }
    const auto outer = nlohmann::json::parse(*raw, nullptr, false);
    if (!outer.is_object() || !outer.contains("data") || !outer["data"].is_string()) {
        return std::nullopt;
    }
    const auto plain = unwrapEnvelope(outer["data"].get<std::string>());
    const auto inner = plain ? nlohmann::json::parse(*plain, nullptr, false) : nlohmann::json();
    if (inner.is_discarded() || inner.is_null()) {
        return std::nullopt;
    }
    auto model = NormalModel::decode(inner);
    if (!model) {
        return std::nullopt;
    }
    return std::move(model).value();
}

enum class Held { exactly, missing, unanswered, otherwise };

// Whether a fetch answer holds the bank as it was saved, the words in the service's order. The
// owner is named to the owner; to others, older services name it and newer ones leave it out.
Held holds(const std::optional<std::string>& raw, const LoadBank& bank, const std::string& asker) {
    if (!raw) {
        return Held::unanswered;
    }
    const auto answer = decode(raw);
    if (answer && answer->code == 0 && answer->msg == "口令不存在") {
        return Held::missing;
    }
    if (!answer || answer->code != 1 || !answer->data || answer->data->size() != 1) {
        return Held::otherwise;
    }
    const auto& stored = answer->data->front();
    const auto canonical = WordModel::normalize(bank.words).value();
    const bool ownerShown =
        stored.uuid == bank.owner || (asker != bank.owner && stored.uuid.empty());
    const bool same = stored.id == bank.token && ownerShown && stored.title == bank.title &&
                      stored.tool == "Quillet" && stored.text == canonical &&
                      stored.count == std::to_string(kWordsPerBank);
    return same ? Held::exactly : Held::otherwise;
}

// Runs `work(index, client)` for every index on a few threads, each with a keep-alive client.
void inParallel(const std::string& url, std::size_t count,
                const std::function<void(std::size_t, httplib::Client&)>& work) {
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&] {
            httplib::Client client(url);
            client.set_keep_alive(true);
            client.set_tcp_nodelay(true);
            client.set_connection_timeout(10);
            client.set_read_timeout(10);
            for (std::size_t i = next++; i < count; i = next++) {
                work(i, client);
            }
        });
    }
    for (auto& worker : workers) {
        worker.join();
    }
}

void writeLines(const stdfs::path& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary);
    for (const auto& line : lines) {
        out << line << '\n';
    }
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

int prepare(const std::string& url, const stdfs::path& dir, std::size_t saves,
            std::size_t fetches) {
    std::vector<std::string> saveBodies;
    for (std::size_t i = 0; i < saves; ++i) {
        saveBodies.push_back(saveBody(bankOf(Pool::save, i)));
    }
    writeLines(dir / "save-bodies.txt", saveBodies);

    std::vector<std::optional<std::string>> saveAnswers(fetches);
    inParallel(url, fetches, [&](std::size_t i, httplib::Client& client) {
        saveAnswers[i] = post(client, saveBody(bankOf(Pool::fetch, i)));
    });
    std::set<std::string> distinct;
    for (const auto& raw : saveAnswers) {
        const auto answer = decode(raw);
        if (!answer || answer->code != 1) {
            std::fprintf(stderr, "prepare: a save was not acknowledged: %s\n",
                         raw.value_or("(no answer)").c_str());
            return 1;
        }
        distinct.insert(*raw);
    }
    if (distinct.size() != 1 || distinct.begin()->find('\n') != std::string::npos) {
        std::fprintf(stderr, "prepare: the acknowledged saves were answered with %zu bodies\n",
                     distinct.size());
        return 1;
    }
    writeLines(dir / "save-answer.txt", {*distinct.begin()});

    std::vector<std::string> fetchBodies(fetches);
    std::vector<std::string> fetchAnswers(fetches);
    std::atomic<int> failed{0};
    inParallel(url, fetches, [&](std::size_t i, httplib::Client& client) {
        const auto bank = bankOf(Pool::fetch, i);
        fetchBodies[i] = fetchBody(bank, kAsker);
        const auto raw = post(client, fetchBodies[i]);
        if (holds(raw, bank, kAsker) != Held::exactly || raw->find('\n') != std::string::npos) {
            ++failed;
            return;
        }
        fetchAnswers[i] = *raw;
    });
    if (failed > 0) {
        std::fprintf(stderr, "prepare: %d of %zu saved banks did not come back as saved\n",
                     failed.load(), fetches);
        return 1;
    }
    writeLines(dir / "fetch-bodies.txt", fetchBodies);
    writeLines(dir / "fetch-answers.txt", fetchAnswers);
    return 0;
}

// The save bank indexes that wrk's script reports sending: lines "issued THREADS ID COUNT", where
// thread ID of THREADS sends indexes ID, ID + THREADS, ... round and round.
std::vector<std::size_t> sentIndexes(const stdfs::path& sentFile, std::size_t saves) {
    std::vector<bool> sent(saves, false);
    std::ifstream in(sentFile);
    std::string word;
    std::size_t threads = 0, id = 0, count = 0;
    while (in >> word >> threads >> id >> count) {
        for (std::size_t i = id, n = 0; threads > 0 && i < saves && n < count; i += threads, ++n) {
            sent[i] = true;
        }
    }
    std::vector<std::size_t> indexes;
    for (std::size_t i = 0; i < saves; ++i) {
        if (sent[i]) {
            indexes.push_back(i);
        }
    }
    return indexes;
}

int verify(const std::string& url, const stdfs::path& dir, const stdfs::path& sentFile) {
    std::ifstream bodies(dir / "save-bodies.txt");
    std::size_t saves = 0;
    for (std::string line; std::getline(bodies, line);) {
        ++saves;
    }
    const auto indexes = sentIndexes(sentFile, saves);
    std::vector<Held> held(indexes.size(), Held::missing);
    const auto check = [&](std::size_t k, httplib::Client& client) {
        if (held[k] != Held::exactly) {
            const auto bank = bankOf(Pool::save, indexes[k]);
            held[k] = holds(post(client, fetchBody(bank, bank.owner)), bank, bank.owner);
        }
    };
    inParallel(url, indexes.size(), check);
    if (std::count(held.begin(), held.end(), Held::exactly) != std::ssize(held)) {
        // A save still queued in the service when wrk stopped may land a moment later.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        inParallel(url, indexes.size(), check);
    }
    const auto missing = std::count(held.begin(), held.end(), Held::missing);
    const auto unanswered = std::count(held.begin(), held.end(), Held::unanswered);
    const auto wrong = std::count(held.begin(), held.end(), Held::otherwise);
    for (std::size_t k = 0, shown = 0; k < held.size() && shown < 5; ++k) {
        if (held[k] != Held::exactly) {
            const char* what = held[k] == Held::missing      ? "is missing"
                               : held[k] == Held::unanswered ? "was not answered"
                                                             : "does not hold its words";
            std::fprintf(stderr, "verify: %s %s\n", bankOf(Pool::save, indexes[k]).token.c_str(),
                         what);
            ++shown;
        }
    }
    std::printf("checked %zu missing %td unanswered %td wrong %td\n", indexes.size(), missing,
                unanswered, wrong);
    return missing + unanswered + wrong == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 5 && args[0] == "prepare") {
            return prepare(args[1], args[2], std::stoul(args[3]), std::stoul(args[4]));
        }
        if (args.size() == 4 && args[0] == "verify") {
            return verify(args[1], args[2], args[3]);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillet-service-load-bodies: %s\n", error.what());
        return 1;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
