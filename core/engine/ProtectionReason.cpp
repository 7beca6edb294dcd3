#include "engine/ProtectionReason.h"

namespace quillet {

std::string ProtectionReason::describe() const {
    switch (kind) {
    case Kind::sdk:
        return "declared by the SDK";
    case Kind::runtime:
        return "called by the runtime by name";
    case Kind::foreignHeader:
        return "declared in " + detail + ", which is not one of the project's classes";
    case Kind::ignoredFile:
        return "used in " + detail + ", which is ignored";
    case Kind::unparsedFile:
        return "used in " + detail;
    case Kind::superCall:
        return "sent to super in " + detail;
    case Kind::userList:
        return "in the list of protected selectors";
    case Kind::swiftUse:
        return "used from Swift in " + detail;
    case Kind::implementedOutside:
        return "implemented outside the project: declared for " + detail +
               ", which the project does not implement";
    case Kind::privateFramework:
        return "private framework method: " + detail;
    case Kind::macroFormed:
        return "formed by a macro in " + detail + ", which a rename cannot follow";
    case Kind::fixedText:
        return "named in " + detail + ", where it cannot be rewritten";
    case Kind::unreadableSource:
        return "declared beside " + detail + ", which could not be read";
    case Kind::propertyName:
        return "the name or getter of a property of " + detail;
    case Kind::otherName:
        return "also written in " + detail +
               " as something a rename cannot follow (a property, a variable, a dot-syntax use, "
               "a macro's argument)";
    case Kind::keyString:
        return "written as a string in " + detail +
               " (a key-value coding key or a selector's name)";
    case Kind::definedNowhere:
        return "declared in " + detail +
               " but defined nowhere in the project: the runtime or a framework provides it (an "
               "@dynamic property's accessor, Core Data's primitive accessors)";
    case Kind::archivedName:
        return "archived under its name (" + detail +
               " adopts NSCoding or archives itself): data saved by the last release would no "
               "longer read back";
    case Kind::resourceName:
        return "the name of " + detail + ", which code may find by the class's name";
    case Kind::typeString:
        return "named in a string in " + detail +
               " that a rename cannot follow (an identifier, a key, a nib's name)";
    case Kind::sharedName:
        return "also the name of " + detail;
    }
    return {};
}

} // namespace quillet
