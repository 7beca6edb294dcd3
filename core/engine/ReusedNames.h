#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/MethodModel.h"
#include "engine/NameTable.h"
#include "engine/TypeName.h"
#include "text/StringHash.h"

namespace quillet {

// The names an earlier run gave, offered again so that a release renamed after an edit keeps the
// names the last one shipped with: a method, property, class or protocol it lists gets the same
// new name, unless that name now means something else in the project or the SDK; then it gets a
// fresh one, and is said to. Fresh names keep clear of every name the earlier run gave.
class ReusedNames {
public:
    explicit ReusedNames(NameTable earlier);

    // The name the earlier run gave `method`, in its pieces; nothing when it gave none, or one
    // of another shape (pieces and colons), which is then renamed afresh.
    std::optional<MethodModel> methodName(const MethodModel& method);
    std::optional<std::string> typeName(TypeName::Kind kind, const std::string& name);
    // The earlier name of `from` could not be given again.
    void refuse(NameEntry::Kind kind, const std::string& from);
    // Whether `name` is one the earlier run gave: a fresh name must not be.
    bool taken(std::string_view name) const { return given_.contains(name); }

    const NameTable& earlier() const { return earlier_; }
    // The listed names given fresh names in this run, because theirs now mean something else.
    const std::vector<NameEntry>& renamedAfresh() const { return afresh_; }

private:
    NameTable earlier_;
    std::unordered_set<std::string, text::StringHash, std::equal_to<>> given_;
    std::vector<NameEntry> afresh_;
};

// "putThing:many:" -> "putThing:", "many:"; "refresh" -> "refresh".
std::vector<std::string> selectorPieces(std::string_view selector);

} // namespace quillet
