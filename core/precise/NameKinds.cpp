#include "precise/NameKinds.h"

#include <string>

#include "text/Text.h"

namespace quillet {

Result<NameKinds> NameKinds::parse(std::string_view list) {
    NameKinds kinds;
    bool methods = false;
    for (const auto word : text::splitViews(list, ',')) {
        if (word == "methods") {
            methods = true;
        } else if (word == "unary") {
            kinds.add(NameKind::unary);
        } else if (word == "classes") {
            kinds.add(NameKind::classes);
        } else if (word == "protocols") {
            kinds.add(NameKind::protocols);
        } else if (word == "properties") {
            kinds.add(NameKind::properties);
        } else {
            return Error{"unknown kind of name \"" + std::string(word) +
                         "\" (known: methods, unary, properties, classes, protocols)"};
        }
    }
    if (!methods) {
        return Error{"the kinds must include methods"};
    }
    return kinds;
}

} // namespace quillet
