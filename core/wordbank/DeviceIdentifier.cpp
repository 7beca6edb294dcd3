#include "wordbank/DeviceIdentifier.h"

#include <fstream>
#include <variant>

#ifdef __APPLE__
#include <unistd.h>
#include <uuid/uuid.h>
#endif

#include "crypto/Digest.h"
#include "defaults/DefaultsStore.h"
#include "random/RandomSource.h"

namespace quillet {

namespace {

constexpr std::string_view kHashKey = "Quillet word bank owner";
constexpr std::string_view kStoredKey = "QuilletDeviceIdentifier";
constexpr std::size_t kBytes = 16;

bool isIdentifier(const std::string& text) {
    return text.size() == 2 * kBytes &&
           text.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

std::string trimmed(std::string text) {
    const auto end = text.find_last_not_of(" \t\r\n");
    text.erase(end == std::string::npos ? 0 : end + 1);
    const auto start = text.find_first_not_of(" \t\r\n");
    return start == std::string::npos ? std::string() : text.substr(start);
}

std::string derivedIdentifier(const std::string& machineId) {
    return crypto::upperHex(crypto::hmacSha256(kHashKey, machineId).substr(0, kBytes));
}

std::string drawnIdentifier(RandomSource& random) {
    std::string bytes;
    for (std::size_t i = 0; i < kBytes; ++i) {
        bytes += static_cast<char>(random.uniform(256));
    }
    return crypto::upperHex(bytes);
}

} // namespace

std::optional<std::string> systemMachineIdentifier() {
#ifdef __APPLE__
    uuid_t uuid{};
    const timespec wait{0, 0};
    if (::gethostuuid(uuid, &wait) == 0) {
        return std::string(reinterpret_cast<const char*>(uuid), sizeof uuid);
    }
#else
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        std::ifstream in(path);
        std::string line;
        if (std::getline(in, line) && !trimmed(line).empty()) {
            return trimmed(line);
        }
    }
#endif
    return std::nullopt;
}

std::string deviceIdentifierFrom(const std::optional<std::string>& machineId, DefaultsStore& store,
                                 RandomSource& random) {
    if (const auto stored = store.object(kStoredKey)) {
        if (const auto* text = std::get_if<std::string>(&*stored); text && isIdentifier(*text)) {
            return *text;
        }
    }
    // Earlier versions derived the identifier from the machine's and kept nothing; a device they
    // ran on goes on with that one, or its banks on the service would no longer be its own. Any
    // other is drawn: anyone on the machine can read its identifier, and cloned machines share one.
    const bool ranBefore = machineId && !machineId->empty() && store.holdsAnything();
    std::string made = ranBefore ? derivedIdentifier(*machineId) : drawnIdentifier(random);
    // Kept for this process even when the file cannot take it; the failure is logged.
    (void)store.setObject(kStoredKey, made);
    return made;
}

std::string deviceIdentifier() {
    static const std::string identifier = deviceIdentifierFrom(
        systemMachineIdentifier(), DefaultsStore::standard(), RandomSource::system());
    return identifier;
}

} // namespace quillet
