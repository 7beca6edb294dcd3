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
    case Kind::fixedText:
        return "named in " + detail + ", where it cannot be rewritten";
    }
    return {};
}

} // namespace quillet
