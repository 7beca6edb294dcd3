// libFuzzer target: any bytes as the "data" field of a request, and as an answer body.
#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "BankOperations.h"
#include "BankStore.h"
#include "EnvelopeHandler.h"
#include "log/Console.h"
#include "service/Envelope.h"
#include "service/WebRequest.h"

using namespace quillet;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Every decoded answer is logged; writing the run log for each input would only slow the
    // fuzzer down and fill the home folder.
    Console::shared().setEcho(false);
    Console::shared().setSaving(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const auto store = service::BankStore::open(":memory:");
    if (!store) {
        __builtin_trap();
    }
    static service::BankOperations operations(**store);
    static service::SaveRateLimit saves(1'000'000'000);
    static service::HeavyAnswerGate heavy(1, 0, std::chrono::milliseconds(0));
    static service::EnvelopeHandler handler(operations, saves, heavy);

    const std::string input(reinterpret_cast<const char*>(bytes), size);
    // Raw, and wrapped so that the fuzzer also reaches the operations behind the cipher.
    for (const std::string& data : {input, wrapEnvelope(input)}) {
        const auto outcome = handler.handle(&data, "fuzz");
        const auto answer = nlohmann::json::parse(outcome.body, nullptr, false);
        // Every answer must itself be a decodable envelope.
        if (!WebRequest::decodeParam(&answer)) {
            __builtin_trap();
        }
    }
    const auto body = nlohmann::json::parse(input, nullptr, false);
    if (!body.is_discarded()) {
        WebRequest::decodeParam(&body);
    }
    return 0;
}
