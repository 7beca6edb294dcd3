#pragma once

#include <any>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

namespace Notification {
// Posted by the rename engine once per method, from the thread running the replacement pass;
// the object is the progress text.
inline constexpr std::string_view progress = "Notification.Quillet.Progress";
// Posted when the user picks a sidebar entry; the object is the entry.
inline constexpr std::string_view navigation = "Notification.Quillet.Do.Did.Change.Notification";
} // namespace Notification

struct PostedNotification {
    std::string name;
    std::any object;
};

// An in-process notification center. Posting is thread-safe; observers run synchronously on the
// posting thread, outside the center's lock, so they may post or register in turn.
class NotificationCenter {
public:
    using Handler = std::function<void(const PostedNotification&)>;

    // Registers `handler` for `name`; `owner` (may be null) lets removeObserver() drop it later.
    void add(const void* owner, std::string_view name, Handler handler);
    void removeObserver(const void* owner);
    void post(std::string_view name, std::any object = {});

private:
    struct Observer {
        const void* owner;
        std::string name;
        std::shared_ptr<const Handler> handler;
    };
    std::mutex mutex_;
    std::vector<Observer> observers_;
};

// The only way the program's own observers are registered, on the one default center.
namespace Notify {
NotificationCenter& center();
// A selector-style observer, removable through its owner.
void add(const void* observer, NotificationCenter::Handler handler, std::string_view name);
// A block observer: runs on the posting thread and is never removed.
void add(std::string_view name, NotificationCenter::Handler block);
} // namespace Notify

} // namespace quillet
