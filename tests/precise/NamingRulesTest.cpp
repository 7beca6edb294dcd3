// The fixed rules of a precise run: the names the runtime calls, the words no keyword may be,
// the names a run may give, and the actions of interface files.
#include <algorithm>

#include <gtest/gtest.h>

#include "precise/InterfaceFileScanner.h"
#include "precise/NameGuard.h"
#include "precise/ReservedWords.h"
#include "precise/RuntimeSelectors.h"
#include "support/EngineRun.h"

namespace quillet::test {
namespace {

TEST(NamingRules, TheRuntimeCallsNamedMethods) {
    for (const std::string selector :
         {"isEqual:", "copyWithZone:", "encodeWithCoder:", "forwardInvocation:",
          "methodSignatureForSelector:", "respondsToSelector:", "resolveInstanceMethod:",
          "observeValueForKeyPath:ofObject:change:context:", "objectAtIndexedSubscript:",
          "setObject:forKeyedSubscript:", "valueForKey:",
          "countByEnumeratingWithState:objects:count:"}) {
        EXPECT_TRUE(isCalledByRuntime(selector)) << selector;
    }
    for (const std::string selector : {"isEqualToOrder:", "addItemsObject:", "insertObject:"}) {
        EXPECT_FALSE(isCalledByRuntime(selector)) << selector;
    }
}

TEST(NamingRules, KeyValueCodingAccessorsNameTheirKey) {
    using Keys = std::vector<std::string>;
    for (const std::string selector :
         {"insertObject:inItemsAtIndex:", "removeObjectFromItemsAtIndex:", "objectInItemsAtIndex:",
          "itemsAtIndexes:", "insertItems:atIndexes:", "removeItemsAtIndexes:",
          "replaceObjectInItemsAtIndex:withObject:", "replaceItemsAtIndexes:withItems:",
          "getItems:range:", "validateItems:error:", "memberOfItems:", "intersectItems:",
          "addItems:"}) {
        const auto keys = keyValueCodingKeys(selector);
        EXPECT_NE(std::find(keys.begin(), keys.end(), "Items"), keys.end()) << selector;
    }
    EXPECT_EQ(keyValueCodingKeys("addItemsObject:"), (Keys{"Items", "ItemsObject"}));
    EXPECT_EQ(keyValueCodingKeys("removeURLObject:"), (Keys{"URL", "URLObject"}));
    for (const std::string selector :
         {"isEqualToOrder:", "add:", "validate:error:", "insertObject:", "objectInitems:",
          "getter:range:", "validateName:", "loadItemsAtIndexes:withAnimation:", "add:Object:",
          "replaceItemsAtIndexes:withItems:more:", "addItems", ""}) {
        EXPECT_EQ(keyValueCodingKeys(selector), Keys{}) << selector;
    }
    EXPECT_EQ(keyOfName("_items"), "Items");
    EXPECT_EQ(keyOfName("URL"), "URL");
    EXPECT_EQ(keyOfName("_"), "");
}

TEST(NamingRules, ReservedWordsOfTheThreeLanguages) {
    for (const char* word : {"for", "register", "class", "self", "id", "nil", "YES", "typename",
                             "co_await", "_Nullable", "instancetype", "nonatomic"}) {
        EXPECT_TRUE(isReservedWord(word)) << word;
    }
    for (const char* word : {"forward", "registerItem", "Self", "identity", ""}) {
        EXPECT_FALSE(isReservedWord(word)) << word;
    }
}

TEST(NamingRules, AGuardAdmitsEachFreeNameOnce) {
    NameGuard guard({"inUse:"}, std::make_shared<SelectorSet>(SelectorSet{"fromSdk:with:"}));
    EXPECT_FALSE(guard.admit(method("inUse:")));
    EXPECT_FALSE(guard.admit(method("fromSdk:with:")));
    EXPECT_FALSE(guard.admit(method("xxLoad:while:")));
    EXPECT_TRUE(guard.admit(method("xxLoad:whilst:")));
    EXPECT_FALSE(guard.admit(method("xxLoad:whilst:"))) << "handed out already";
    NameGuard withoutSdk({}, nullptr);
    EXPECT_TRUE(withoutSdk.admit(method("fromSdk:with:")));
}

TEST(NamingRules, InterfaceFilesYieldTheirActionSelectors) {
    const std::string xml = "<action selector=\"save:\" id=\"1\"/>\n"
                            "<action selector='cancel:sender:' id=\"2\"/>\n"
                            "<action selector=\"close\" id=\"3\"/>\n"
                            "<segue myselector=\"not:\" title=\"selector=&quot;no:&quot;\"/>\n";
    const auto facts = scanInterfaceFile(xml);
    ASSERT_EQ(facts.uses.size(), 3u);
    EXPECT_EQ(facts.uses[0].selector, "save:");
    EXPECT_EQ(facts.uses[1].selector, "cancel:sender:");
    EXPECT_EQ(facts.uses[1].kind, objc::UseKind::interfaceAction);
    const auto& span = facts.spans[facts.uses[1].firstSpan];
    EXPECT_EQ(xml.substr(span.offset, span.length), "cancel:sender:");
    // Not an action, but a selector all the same: it keeps its name.
    EXPECT_EQ(facts.uses[2].selector, "not:");
    EXPECT_EQ(facts.uses[2].kind, objc::UseKind::fixedText);
}

} // namespace
} // namespace quillet::test
