// The names file a run writes is what a later run reuses and translates with: it must read back
// exactly, whichever of the two lists it is.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/NameTable.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

using Kind = NameEntry::Kind;

TEST(NameTable, ReadsBackWhatItWritesSortedByKindThenOldName) {
    const NameTable table({{Kind::file, "Models/Cart.h", "Models/ZqShelf.h", false},
                           {Kind::classType, "Cart", "ZqShelf", false},
                           {Kind::method, "addItem:count:", "putThing:many:", false},
                           {Kind::unary, "reload", "refresh", false},
                           {Kind::method, "addCoupon:", "takeMark:", true}});
    const std::string text = table.text("Quillet 0.1.0, precise mode, 2026-12-09T06:00:00Z");
    EXPECT_EQ(text, "# Quillet 0.1.0, precise mode, 2026-12-09T06:00:00Z\n"
                    "method\taddCoupon:\ttakeMark:\tunused\n"
                    "method\taddItem:count:\tputThing:many:\n"
                    "unary\treload\trefresh\n"
                    "class\tCart\tZqShelf\n"
                    "file\tModels/Cart.h\tModels/ZqShelf.h\n");
    const auto back = NameTable::parse(text);
    ASSERT_TRUE(back) << back.error().message;
    EXPECT_EQ(back->entries(), table.entries());
    ASSERT_NE(back->find(Kind::classType, "Cart"), nullptr);
    EXPECT_EQ(back->find(Kind::classType, "Cart")->to, "ZqShelf");
    EXPECT_EQ(back->find(Kind::protocolType, "Cart"), nullptr);
    EXPECT_EQ(back->find(Kind::method, "addItem:"), nullptr);
}

TEST(NameTable, AMethodListReadsAsMethodsWhateverItsLineEnds) {
    const std::string list =
        "[ 1/2 ] Method in Cart.h\r\nOld --> addItem:count:\r\n"
        "New --> putThing:many:\r\n\r\n"
        "[ 2/2 ] Method in Cart.h\r\nOld --> reload\r\nNew --> refresh\r\n\r\n";
    const auto table = NameTable::parse(list);
    ASSERT_TRUE(table) << table.error().message;
    EXPECT_EQ(table->entries(),
              (std::vector<NameEntry>{{Kind::method, "addItem:count:", "putThing:many:", false},
                                      {Kind::unary, "reload", "refresh", false}}));
}

TEST(NameTable, AFileIsReadThroughALinkAndOneThatIsMissingSaysSo) {
    TempDir dir;
    const std::string file = dir.write("names.tsv", "# h\nclass\tA\tB\n");
    std::filesystem::create_symlink(file, dir.path() / "link.tsv");
    const auto linked = NameTable::read((dir.path() / "link.tsv").string());
    ASSERT_TRUE(linked) << linked.error().message;
    EXPECT_EQ(linked->entries().size(), 1U);
    const auto missing = NameTable::read(dir.str() + "/none.tsv");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message.find("cannot read " + dir.str() + "/none.tsv"), 0U);
}

TEST(NameTable, ATextThatIsNotOneSaysWhereItIsWrong) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "no names"},
        {"# only a header\n", "no names"},
        {"method\ta:\n", "(line 1)"},
        {"# h\nfunction\ta\tb\n", "unknown kind of name \"function\" (line 2)"},
        {"class\t\tB\n", "an empty name (line 1)"},
        {"class\tA\tB\tgone\n", "\"unused\" (line 1)"},
        {"class\tA\tB\nclass\tA\tC\n", "the class A is given two new names"},
        {"Some notes\nabout nothing\n", "(line 1)"},
    };
    for (const auto& [text, says] : cases) {
        const auto table = NameTable::parse(text);
        ASSERT_FALSE(table) << text;
        EXPECT_NE(table.error().message.find(says), std::string::npos)
            << text << " -> " << table.error().message;
    }
    // The same old name may be a class and a file's stem, or a method and a property.
    EXPECT_TRUE(NameTable::parse("class\tA\tB\nprotocol\tA\tC\n"));
}

} // namespace
} // namespace quillet::test
