#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "base/Result.h"
#include "defaults/DefaultsValue.h"

namespace quillet {

// The user's persistent settings: one JSON document shared by every Quillet process of the user.
//
// Every change is written through at once: under a lock on a file beside the document, the
// document is read again, only the changed key is replaced, and the result is renamed into place.
// So the app and the cli never lose each other's keys. A document that cannot be parsed is moved
// aside under a timestamped name, reported in the log, and the store starts empty. Registered
// defaults are answers for keys that hold nothing; they live in memory only. The document is
// readable by its owner alone, since it holds the device's secret identifier.
class DefaultsStore {
public:
    explicit DefaultsStore(std::string path);

    // The store of the current user, in the platform's configuration folder.
    static DefaultsStore& standard();
    // "$XDG_CONFIG_HOME/Quillet/Defaults.json", else "~/.config/Quillet/Defaults.json"; on macOS
    // "~/Library/Application Support/Quillet/Defaults.json".
    static std::string standardPath();

    const std::string& path() const { return path_; }

    std::optional<DefaultsValue> object(std::string_view key);
    // Whether the document holds any key at all (registered defaults aside): some Quillet
    // program has kept something here before.
    bool holdsAnything();
    // Both store the value under the key and fail when it did not reach the file (the value is
    // still kept for this process, and the reason is logged as well).
    Status setObject(std::string_view key, DefaultsValue value);
    Status setValue(std::string_view key, DefaultsValue value) {
        return setObject(key, std::move(value));
    }
    Status removeObject(std::string_view key);
    void registerDefaults(const std::map<std::string, DefaultsValue>& defaults);
    // Reads the document again, picking up what other processes wrote.
    Status synchronize();

private:
    enum class ReadOutcome { read, missing, failed };
    ReadOutcome readLocked(nlohmann::json& document);
    Status changeLocked(std::string_view key, const std::optional<DefaultsValue>& value);
    void moveAsideLocked(const std::string& why);
    void loadLocked();

    std::string path_;
    std::mutex mutex_;
    bool loaded_ = false;
    nlohmann::json document_ = nlohmann::json::object();
    std::map<std::string, DefaultsValue, std::less<>> registered_;
};

} // namespace quillet
