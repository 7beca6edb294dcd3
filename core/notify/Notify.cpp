#include "notify/Notify.h"

#include <algorithm>

namespace quillet {

void NotificationCenter::add(const void* owner, std::string_view name, Handler handler) {
    std::lock_guard lock(mutex_);
    observers_.push_back(
        Observer{owner, std::string(name), std::make_shared<const Handler>(std::move(handler))});
}

void NotificationCenter::removeObserver(const void* owner) {
    if (owner == nullptr) {
        return;
    }
    std::lock_guard lock(mutex_);
    std::erase_if(observers_, [owner](const Observer& o) { return o.owner == owner; });
}

void NotificationCenter::post(std::string_view name, std::any object) {
    std::vector<std::shared_ptr<const Handler>> matching;
    {
        std::lock_guard lock(mutex_);
        for (const auto& observer : observers_) {
            if (observer.name == name) {
                matching.push_back(observer.handler);
            }
        }
    }
    const PostedNotification notification{std::string(name), std::move(object)};
    for (const auto& handler : matching) {
        (*handler)(notification);
    }
}

namespace Notify {

NotificationCenter& center() {
    static NotificationCenter defaultCenter;
    return defaultCenter;
}

void add(const void* observer, NotificationCenter::Handler handler, std::string_view name) {
    center().add(observer, name, std::move(handler));
}

void add(std::string_view name, NotificationCenter::Handler block) {
    center().add(nullptr, name, std::move(block));
}

} // namespace Notify

} // namespace quillet
