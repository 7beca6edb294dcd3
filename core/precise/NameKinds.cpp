#include "precise/NameKinds.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "text/Text.h"

namespace quillet {

namespace {

struct KindWord {
    NameKind kind;
    std::string_view word;
};

constexpr KindWord kindWords[] = {{NameKind::methods, "methods"},
                                  {NameKind::unary, "unary"},
                                  {NameKind::classes, "classes"},
                                  {NameKind::protocols, "protocols"},
                                  {NameKind::properties, "properties"}};

} // namespace

Result<NameKinds> NameKinds::parse(std::string_view list) {
    NameKinds kinds;
    bool methods = false;
    for (const auto word : text::splitViews(list, ',')) {
        const auto* known = std::find_if(std::begin(kindWords), std::end(kindWords),
                                         [word](const KindWord& k) { return k.word == word; });
        if (known == std::end(kindWords)) {
            return Error{"unknown kind of name \"" + std::string(word) +
                         "\" (known: methods, unary, properties, classes, protocols)"};
        }
        methods = methods || known->kind == NameKind::methods;
        kinds.add(known->kind);
    }
    if (!methods) {
        return Error{"the kinds must include methods"};
    }
    return kinds;
}

std::string NameKinds::text() const {
    std::string list;
    for (const auto& [kind, word] : kindWords) {
        if (has(kind)) {
            list += list.empty() ? "" : ",";
            list += word;
        }
    }
    return list;
}

} // namespace quillet
