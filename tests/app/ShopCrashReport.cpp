#include "ShopCrashReport.h"

#include "engine/NameTable.h"

namespace quillet::test {

std::string shopNamesTable() {
    using Kind = NameEntry::Kind;
    return NameTable({
                         {Kind::method, "addItem:count:", "putThing:many:", false},
                         {Kind::method, "removeItem:", "dropThing:", false},
                         {Kind::unary, "reloadCart", "refreshLeaves", false},
                         {Kind::property, "price", "glowAmount", false},
                         {Kind::classType, "Cart", "ZqShelf", false},
                         {Kind::classType, "CartCell", "ZqLantern", false},
                     })
        .text("Quillet 0.1.0, precise mode, 2026-12-09T05:55:00Z");
}

std::string shopMethodList() {
    return "[ 1/2 ] Method in Models/Cart.m\n"
           "Old --> addItem:count:\n"
           "New --> putThing:many:\n\n"
           "[ 2/2 ] Method in Models/Cart.m\n"
           "Old --> removeItem:\n"
           "New --> dropThing:\n\n";
}

const QString renamedShopReport =
    "Application Specific Information:\n"
    "*** Terminating app due to uncaught exception 'NSInvalidArgumentException', reason: "
    "'-[ZqShelf dropThing:]: unrecognized selector sent to instance 0x600000c04000'\n"
    "\n"
    "Thread 0 Crashed:\n"
    "0   MyApp    \t0x0000000100abc123 -[ZqShelf putThing:many:] + 52 (ZqShelf.m:42)\n"
    "1   MyApp    \t0x0000000100abc456 +[ZqLantern refreshLeaves] + 20\n"
    "2   MyApp    \t0x0000000100abc789 -[ZqShelf setGlowAmount:] + 12\n";

const QString originalShopReport =
    "Application Specific Information:\n"
    "*** Terminating app due to uncaught exception 'NSInvalidArgumentException', reason: "
    "'-[Cart removeItem:]: unrecognized selector sent to instance 0x600000c04000'\n"
    "\n"
    "Thread 0 Crashed:\n"
    "0   MyApp    \t0x0000000100abc123 -[Cart addItem:count:] + 52 (Cart.m:42)\n"
    "1   MyApp    \t0x0000000100abc456 +[CartCell reloadCart] + 20\n"
    "2   MyApp    \t0x0000000100abc789 -[Cart setPrice:] + 12\n";

} // namespace quillet::test
