// The Swift reader on what hides names (comments, every form of string) and what shows them
// (interpolated code, backticks, calls, #selector, @objc, inheritance lists), the importer's
// names for a selector, and garbage.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "swift/SwiftImportNames.h"
#include "swift/SwiftLexer.h"
#include "swift/SwiftScanner.h"

namespace quillet::swift {
namespace {

using Texts = std::vector<std::string>;

// The identifiers of a source, in order.
Texts identifiers(std::string_view source) {
    Texts out;
    for (const auto& token : SwiftLexer(source).tokens()) {
        if (token.kind == SwiftToken::Kind::identifier) {
            out.emplace_back(token.text);
        }
    }
    return out;
}

Texts sorted(Texts texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

TEST(SwiftLexer, CommentsAndStringsHideNamesButInterpolatedCodeIsRead) {
    EXPECT_EQ(identifiers("a // b(c)\nd"), (Texts{"a", "d"}));
    EXPECT_EQ(identifiers("a /* b /* nested */ c */ d"), (Texts{"a", "d"}));
    EXPECT_EQ(identifiers(R"(a "b \" c" d)"), (Texts{"a", "d"}));
    EXPECT_EQ(identifiers("a \"\"\"\n b \" \"\" c\n \"\"\" d"), (Texts{"a", "d"}));
    // Raw strings: a backslash and a lone quote are text; only the quote with its #s ends it.
    EXPECT_EQ(identifiers(R"(a #"b \" "c"# d)"), (Texts{"a", "d"}));
    EXPECT_EQ(identifiers("a ##\"\"\"\n b \"\"\"# c\n\"\"\"## d"), (Texts{"a", "d"}));
    // Interpolation: its code is read, with nested parentheses and strings inside it.
    EXPECT_EQ(identifiers(R"(a "x \(f(g("y \(h) z"), k)) w" d)"),
              (Texts{"a", "f", "g", "h", "k", "d"}));
    EXPECT_EQ(identifiers(R"(a #"x \(no) \#(yes) w"# d)"), (Texts{"a", "yes", "d"}));
    EXPECT_EQ(identifiers("a \"\"\"\n\\(m.call(\"\"\"\ninner\n\"\"\"))\n\"\"\" d"),
              (Texts{"a", "m", "call", "d"}));
    EXPECT_EQ(identifiers("`default` x.`init`(y) `"), (Texts{"default", "x", "init", "y"}));
}

TEST(SwiftLexer, UnterminatedInputEndsQuietly) {
    EXPECT_EQ(identifiers("a /* b /* c */ d"), (Texts{"a"}));
    EXPECT_EQ(identifiers("a \"\"\"\n b"), (Texts{"a"}));
    EXPECT_EQ(identifiers("a \"b\nc"), (Texts{"a", "c"})); // a one-line string ends at the line
    EXPECT_EQ(identifiers(R"(a "\(b)"), (Texts{"a", "b"}));
    EXPECT_EQ(identifiers(R"(a "x\)"), (Texts{"a"}));
}

TEST(SwiftScanner, NamesAreCallsReferencesAndDeclarationsButNotLabels) {
    const auto facts = scanSwift(R"(
        func keyDown(with event: NSEvent) { appController.handleKeyDown(event) }
        let f = store.deleteObjects
        let v = cache.object(forKey: "k", default: flag ? other : third)
        button.action = #selector(AppController.search(usingToolbarTextField:))
    )");
    const Texts expected = {"AppController", "NSEvent", "appController",
                            "button",        "cache",   "action",
                            "deleteObjects", "event",   "f",
                            "flag",          "func",    "handleKeyDown",
                            "keyDown",       "let",     "object",
                            "other",         "search",  "selector",
                            "store",         "third",   "v"};
    EXPECT_EQ(sorted(facts.names), sorted(expected));
}

TEST(SwiftScanner, ObjcAttributesAndInheritanceLists) {
    const auto facts = scanSwift(R"swift(
        @objc(findItem:inList:) func find(_ item: Item, in list: List) {}
        @objc (open:) func open() {}
        @objc func plain() {}
        final class Panel<T: Equatable>: NSObject, UI.ProjectDelegate & Other where T: Hashable {}
        extension Panel: ProjectDataSource {}
        class func make() -> Panel { fatalError() }
        protocol Refined: Base {}
        let s = [NSSelectorFromString("copy:"), Selector(#"paste:with:"#)]
        let notSelectors = ["a b:", ":x", "x", "\(y):", "z:\(w)", 3]
    )swift");
    EXPECT_EQ(facts.objcSelectors, (Texts{"findItem:inList:", "open:", "copy:", "paste:with:"}));
    EXPECT_EQ(facts.conformances,
              (Texts{"NSObject", "ProjectDelegate", "Other", "ProjectDataSource", "Base"}));
}

TEST(SwiftScanner, GarbageNeverBreaksIt) {
    const std::vector<std::string> pieces = {
        "(",      ")",         "[",          "]",        "{",    "}",
        "\"",     "\"\"\"",    "#",          "##",       "\\(",  "\\",
        "`",      "/*",        "*/",         "//",       "\n",   ":",
        ",",      "<",         ">",          "@objc(",   "a",    "b",
        "class ", "extension", "#selector(", "\xC3\xA9", "\xFF", std::string(1, '\0')};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string source;
        const auto length = random() % 200;
        for (std::size_t i = 0; i < length; ++i) {
            source += pieces[random() % pieces.size()];
        }
        const auto facts = scanSwift(source);
        for (const auto& name : facts.names) {
            ASSERT_FALSE(name.empty());
            ASSERT_NE(source.find(name), std::string::npos);
        }
    }
    // Long runs of openers stay linear (and never recurse).
    const std::string deep(200000, '(');
    EXPECT_TRUE(scanSwift(deep).names.empty());
    std::string interpolations;
    for (int i = 0; i < 50000; ++i) {
        interpolations += "\"\\(";
    }
    EXPECT_TRUE(scanSwift(interpolations).names.empty());
}

TEST(SwiftImportNames, FirstKeywordPrepositionSplitsAndTypeNames) {
    EXPECT_EQ(importedBaseNames("handleKeyDown:", "NSEvent *"), (Texts{"handleKeyDown"}));
    EXPECT_EQ(importedBaseNames("deleteObjects:", "NSArray<Item *> *"), (Texts{"deleteObjects"}));
    EXPECT_EQ(importedBaseNames("objectForKey:", "id"), (Texts{"objectForKey", "object"}));
    EXPECT_EQ(importedBaseNames("searchUsingToolbarTextField:", "NSTextField *"),
              (Texts{"searchUsingToolbarTextField", "search", "searchUsingToolbar",
                     "searchUsingToolbarText"}));
    EXPECT_EQ(importedBaseNames("fetchItemsWithName:fromStore:", {}),
              (Texts{"fetchItemsWithName", "fetchItems"}));
    // The trailing words that name the first parameter's type are dropped ("id" is Object).
    EXPECT_EQ(importedBaseNames("addItem:", "nullable XYItem *"), (Texts{"addItem", "add"}));
    EXPECT_EQ(importedBaseNames("removeObject:", "id<NSCopying>"),
              (Texts{"removeObject", "remove"}));
    EXPECT_EQ(importedBaseNames("addItem:", "XYItemList *"), (Texts{"addItem"}));
    // Leading capitals are lower-cased as Swift does.
    EXPECT_EQ(importedBaseNames("URLForKey:", {}), (Texts{"URLForKey", "urlForKey", "URL", "url"}));
    EXPECT_EQ(baseOfSwiftName("item(at:)"), "item");
    EXPECT_EQ(baseOfSwiftName(" Box.open(with:) "), "open");
    EXPECT_EQ(baseOfSwiftName(""), "");
}

} // namespace
} // namespace quillet::swift
