#pragma once

#include <QString>

namespace quillet::app {

// What a sidebar entry leads to; grouped by tens: tools, help, settings, maintenance.
enum class Action : int {
    mrename = 11,
    classRename = 12,
    fileRename = 13,
    testCM = 14,
    image = 15,
    crashReport = 16,
    course = 31,
    error = 32,
    shortcutKey = 33,
    notice = 34,
    qqGroup = 35,
    officialWeb = 36,
    settingNormal = 41,
    settingMyWord = 42,
    onlineUpdate = 51,
    cmFileUpdate = 52,
    unknow = 99,
};

// One sidebar row, and the object of the navigation notification.
struct SidebarEntry {
    QString value;
    Action action = Action::unknow;
};

} // namespace quillet::app
