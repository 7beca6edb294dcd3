// A renamed app's crash reports, logs and stacks carry the new names: translating them must give
// back exactly the text the old build would have written, whatever the format, and touch nothing
// else.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "engine/NameTranslation.h"
#include "text/Text.h"

namespace quillet::test {
namespace {

using Kind = NameEntry::Kind;

NameTable shopNames() {
    return NameTable({
        {Kind::method, "addItem:count:", "putThing:many:", false},
        {Kind::method, "addCoupon:", "takeMark:", false},
        {Kind::method, "removeItem:", "dropThing:", false},
        {Kind::method, "checkout:", "sealBargain:", true},
        {Kind::unary, "reloadCart", "refreshLeaves", false},
        {Kind::property, "price", "glowAmount", false},
        {Kind::classType, "Cart", "ZqShelf", false},
        {Kind::classType, "CartCell", "ZqLantern", false},
        {Kind::protocolType, "CartDelegate", "ZqHarbor", false},
        {Kind::file, "Models/Cart.h", "Models/ZqShelf.h", false},
        {Kind::file, "Models/Cart.m", "Models/ZqShelf.m", false},
        {Kind::file, "Views/CartCell.m", "Views/ZqLantern.m", false},
        {Kind::file, "Support/ShopHelpers.m", "Support/ZqTools.m", false},
    });
}

struct Fixture {
    std::string name;
    std::string renamed;  // as the renamed build writes it
    std::string original; // as the old build would have
};

// Each format in the renamed build's words and the old one's, written by hand.
std::vector<Fixture> formats() {
    return {
        {"crash report",
         R"(Process:             MyApp [4182]
Identifier:          com.example.myapp
Exception Type:  EXC_CRASH (SIGABRT)
Triggered by Thread:  0

Application Specific Information:
*** Terminating app due to uncaught exception 'NSInvalidArgumentException', reason: '-[ZqShelf dropThing:]: unrecognized selector sent to instance 0x600000c04000'

Last Exception Backtrace:
0   CoreFoundation                	0x1a2b3c4d5 __exceptionPreprocess + 164
1   CoreFoundation                	0x1a2b3c4f7 -[NSObject(NSObject) doesNotRecognizeSelector:] + 136
2   MyApp                         	0x100abc123 -[ZqLantern takeMark:] + 52
3   MyApp                         	0x100abc456 __41-[ZqShelf putThing:many:]_block_invoke + 88
4   MyApp                         	0x100abc789 +[ZqShelf refreshLeaves] + 20
5   MyApp                         	0x100abc7aa -[ZqShelf setGlowAmount:] + 12
6   MyApp                         	0x100abc7bb __ZqShelf_block_invoke_2 + 40
7   MyApp                         	0x100abc7cc ___lldb_unnamed_symbol1234$$MyApp + 8
8   MyApp                         	0x100abc7dd -[ZqShelfView putThing:many:] + 4
9   MyApp                         	0x100abc7ee -[ZqShelf(Extras) glowAmount] + 4

Thread 0 Crashed:
0   libsystem_kernel.dylib        	0x00000001e1b2c3d4 __pthread_kill + 8
1   MyApp                         	0x0000000100abc123 -[ZqShelf putThing:many:] + 52 (ZqShelf.m:42)
2   MyApp                         	0x0000000100abc456 -[ZqShelf(ZqHarbor) putThing:] + 16 (ZqShelf.m:57)
3   MyApp                         	0x0000000100abc999 -[ZqShelf putThing:animated:] + 8
)",
         R"(Process:             MyApp [4182]
Identifier:          com.example.myapp
Exception Type:  EXC_CRASH (SIGABRT)
Triggered by Thread:  0

Application Specific Information:
*** Terminating app due to uncaught exception 'NSInvalidArgumentException', reason: '-[Cart removeItem:]: unrecognized selector sent to instance 0x600000c04000'

Last Exception Backtrace:
0   CoreFoundation                	0x1a2b3c4d5 __exceptionPreprocess + 164
1   CoreFoundation                	0x1a2b3c4f7 -[NSObject(NSObject) doesNotRecognizeSelector:] + 136
2   MyApp                         	0x100abc123 -[CartCell addCoupon:] + 52
3   MyApp                         	0x100abc456 __41-[Cart addItem:count:]_block_invoke + 88
4   MyApp                         	0x100abc789 +[Cart reloadCart] + 20
5   MyApp                         	0x100abc7aa -[Cart setPrice:] + 12
6   MyApp                         	0x100abc7bb __Cart_block_invoke_2 + 40
7   MyApp                         	0x100abc7cc ___lldb_unnamed_symbol1234$$MyApp + 8
8   MyApp                         	0x100abc7dd -[ZqShelfView addItem:count:] + 4
9   MyApp                         	0x100abc7ee -[Cart(Extras) price] + 4

Thread 0 Crashed:
0   libsystem_kernel.dylib        	0x00000001e1b2c3d4 __pthread_kill + 8
1   MyApp                         	0x0000000100abc123 -[Cart addItem:count:] + 52 (Cart.m:42)
2   MyApp                         	0x0000000100abc456 -[Cart(CartDelegate) addItem:] + 16 (Cart.m:57)
3   MyApp                         	0x0000000100abc999 -[Cart putThing:animated:] + 8
)"},
        {"atos output",
         "-[ZqShelf putThing:many:] (in MyApp) (ZqShelf.m:42)\n"
         "+[ZqShelf refreshLeaves] (in MyApp) (ZqShelf.m:17)\n"
         "__36-[ZqLantern takeMark:]_block_invoke_2 (in MyApp) (ZqLantern.m:88)\n"
         "-[ZqShelfView glowAmount] (in MyApp) (ZqShelfView.m:30)\n"
         "main (in MyApp) (main.m:14)\n"
         "0x0000000100abc999 (in MyApp)\n",
         "-[Cart addItem:count:] (in MyApp) (Cart.m:42)\n"
         "+[Cart reloadCart] (in MyApp) (Cart.m:17)\n"
         "__36-[CartCell addCoupon:]_block_invoke_2 (in MyApp) (CartCell.m:88)\n"
         "-[ZqShelfView price] (in MyApp) (ZqShelfView.m:30)\n"
         "main (in MyApp) (main.m:14)\n"
         "0x0000000100abc999 (in MyApp)\n"},
        {"log",
         "2026-01-12 10:15:31.902 MyApp[4182:1203344] -[ZqShelf putThing:many:] glowAmount=0.5\n"
         "2026-01-12 10:15:31.903 MyApp[4182:1203344] ZqShelf: refreshLeaves done, "
         "_glowAmount=0, <ZqHarbor>\n"
         "2026-01-12 10:15:31.904 MyApp[4182:1203344] putThing:many: not handled; tried "
         "sealBargain: and setGlowAmount:\n"
         "2026-01-12 10:15:31.906 MyApp[4182:1203344] loaded ZqShelf.h, ZqShelfView.xib, "
         "ZqTools.m:12, Models/ZqShelf.m.\n",
         "2026-01-12 10:15:31.902 MyApp[4182:1203344] -[Cart addItem:count:] price=0.5\n"
         "2026-01-12 10:15:31.903 MyApp[4182:1203344] Cart: reloadCart done, "
         "_price=0, <CartDelegate>\n"
         "2026-01-12 10:15:31.904 MyApp[4182:1203344] addItem:count: not handled; tried "
         "checkout: and setPrice:\n"
         "2026-01-12 10:15:31.906 MyApp[4182:1203344] loaded Cart.h, ZqShelfView.xib, "
         "ShopHelpers.m:12, Models/Cart.m.\n"},
        {"source",
         R"(#import "ZqShelf.h"

@interface ZqShelf () <ZqHarbor>
@property (nonatomic) CGFloat glowAmount;
@end

@implementation ZqShelf

- (void)putThing:(id)item many:(NSInteger)count {
    _glowAmount = 0;
    [self setGlowAmount:count];
    self.glowAmount += 1;
    [self refreshLeaves];
    SEL both = @selector(putThing:many:);
    SEL none = @selector( refreshLeaves );
    [self performSelector:@selector(takeMark:) withObject:[ZqLantern new]];
    NSString *key = @"\tglowAmount";
}

@end
)",
         R"(#import "Cart.h"

@interface Cart () <CartDelegate>
@property (nonatomic) CGFloat price;
@end

@implementation Cart

- (void)addItem:(id)item count:(NSInteger)count {
    _price = 0;
    [self setPrice:count];
    self.price += 1;
    [self reloadCart];
    SEL both = @selector(addItem:count:);
    SEL none = @selector( reloadCart );
    [self performSelector:@selector(addCoupon:) withObject:[CartCell new]];
    NSString *key = @"\tprice";
}

@end
)"},
    };
}

TEST(NameTranslation, EachFormatReadsAsTheOldBuildWouldHaveWrittenIt) {
    const NameTranslation translation(shopNames());
    EXPECT_TRUE(translation.leftOut().empty());
    for (const auto& format : formats()) {
        EXPECT_EQ(translation.translate(format.renamed), format.original) << format.name;
        // Translated text holds no new name: a second run changes nothing.
        EXPECT_EQ(translation.translate(format.original), format.original) << format.name;
        // No context reaches past a line's end, so a stream translated line by line is the same.
        std::string byLine;
        for (const auto& line : text::splitViews(format.renamed, '\n')) {
            byLine += translation.translate(std::string(line) + "\n");
        }
        byLine.pop_back();
        EXPECT_EQ(byLine, format.original) << format.name;
    }
}

// The header line of an .ips report, then its body, pretty-printed.
TEST(NameTranslation, AnIpsReportStaysJsonWithItsEscapesAsTheyWere) {
    const std::string renamed =
        R"({"app_name":"MyApp","app_version":"2.3","bug_type":"309","name":"MyApp"})"
        "\n"
        R"({
  "procName" : "MyApp",
  "exception" : {"type":"EXC_CRASH","signal":"SIGABRT"},
  "asi" : {"CoreFoundation":["*** Terminating app due to uncaught exception 'NSInvalidArgumentException', reason: '-[ZqShelf dropThing:]: unrecognized selector sent to instance 0x600000c04000'"],
           "MyApp":["state:\n\tZqShelf \"glowAmount\" \\nZqLantern \u00e9ZqHarbor\\ZqShelf"]},
  "threads" : [{"triggered":true,"queue":"com.apple.main-thread","frames":[
    {"imageOffset":16580,"symbol":"-[ZqShelf putThing:many:]","symbolLocation":52,"imageIndex":0,"sourceFile":"ZqShelf.m","sourceLine":42},
    {"imageOffset":16600,"symbol":"__36-[ZqLantern takeMark:]_block_invoke","symbolLocation":8,"imageIndex":0}]}]
})";
    const std::string original =
        R"({"app_name":"MyApp","app_version":"2.3","bug_type":"309","name":"MyApp"})"
        "\n"
        R"({
  "procName" : "MyApp",
  "exception" : {"type":"EXC_CRASH","signal":"SIGABRT"},
  "asi" : {"CoreFoundation":["*** Terminating app due to uncaught exception 'NSInvalidArgumentException', reason: '-[Cart removeItem:]: unrecognized selector sent to instance 0x600000c04000'"],
           "MyApp":["state:\n\tCart \"price\" \\nZqLantern \u00e9CartDelegate\\Cart"]},
  "threads" : [{"triggered":true,"queue":"com.apple.main-thread","frames":[
    {"imageOffset":16580,"symbol":"-[Cart addItem:count:]","symbolLocation":52,"imageIndex":0,"sourceFile":"Cart.m","sourceLine":42},
    {"imageOffset":16600,"symbol":"__36-[CartCell addCoupon:]_block_invoke","symbolLocation":8,"imageIndex":0}]}]
})";
    const NameTranslation translation(shopNames());
    const auto translated = translation.translate(renamed);
    EXPECT_EQ(translated, original);
    const auto lineEnd = translated.find('\n');
    ASSERT_NE(lineEnd, std::string::npos);
    EXPECT_EQ(nlohmann::json::parse(translated.substr(0, lineEnd))["name"], "MyApp");
    const auto body = nlohmann::json::parse(translated.substr(lineEnd + 1));
    const auto& frames = body["threads"][0]["frames"];
    EXPECT_EQ(frames[0]["symbol"], "-[Cart addItem:count:]");
    EXPECT_EQ(frames[0]["sourceFile"], "Cart.m");
    EXPECT_EQ(body["asi"]["MyApp"][0], "state:\n\tCart \"price\" \\nZqLantern \xc3\xa9"
                                       "CartDelegate\\Cart");
}

TEST(NameTranslation, OnlyWholeTokensChangeAndOtherBytesAreCopied) {
    const NameTranslation translation(shopNames());
    const std::string untouched =
        "ZqShelfView kZqShelf ZqShelf2 _ZqShelfX 0ZqShelf $ZqShelf glowAmountMax putThingX: "
        "xputThing: ZqTools.mm ZqTools.m2 MyZqTools.m ZqTools __ZqShelf_block_invokeX "
        "__ZqShelf_block_invoke_ -[ZqShelfX putThing:animated:] putThing:animated: @selector(x)\n";
    EXPECT_EQ(translation.translate(untouched), untouched);
    // CRLF lines, bytes that are not UTF-8 and a missing last line end pass through.
    EXPECT_EQ(translation.translate("-[ZqShelf putThing:many:]\r\n\xff\xfeZqShelf\xc3\r\n"
                                    "\xe4\xb8\xad"
                                    "ZqShelf.m"),
              "-[Cart addItem:count:]\r\n\xff\xfe"
              "Cart\xc3\r\n\xe4\xb8\xad"
              "Cart.m");
    EXPECT_EQ(translation.translate(""), "");
}

TEST(NameTranslation, ATokenThatCouldMeanTwoOldNamesIsLeftUnlessItsPlaceSaysWhichItIs) {
    const NameTranslation translation(NameTable({
        // ZqShelf is a class and a property, of different old names.
        {Kind::classType, "Cart", "ZqShelf", false},
        {Kind::property, "price", "ZqShelf", false},
        // putThing is a piece of two methods, and a method of its own.
        {Kind::method, "addItem:count:", "putThing:many:", false},
        {Kind::method, "removeItem:", "putThing:", false},
        // Two kinds agreeing are one meaning.
        {Kind::unary, "reload", "refresh", false},
        {Kind::property, "reload", "refresh", false},
        // One new name given twice in one kind.
        {Kind::protocolType, "CartDelegate", "ZqHarbor", false},
        {Kind::protocolType, "ShopDelegate", "ZqHarbor", false},
    }));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"-[ZqShelf ZqShelf]", "-[Cart price]"},
        {"+[ZqShelf setZqShelf:]", "+[Cart setPrice:]"},
        {"ZqShelf self.ZqShelf ZqShelf:", "ZqShelf self.ZqShelf ZqShelf:"},
        {"_ZqShelf [x setZqShelf:1]", "_price [x setPrice:1]"},
        {"-[ZqShelf putThing:] -[ZqShelf putThing:many:]",
         "-[Cart removeItem:] -[Cart addItem:count:]"},
        {"-[ZqShelf many:putThing:] many:putThing: [x putThing:1]",
         "-[Cart many:putThing:] many:putThing: [x putThing:1]"},
        {"[x putThing:1 many:2] putThing:many:", "[x putThing:1 count:2] addItem:count:"},
        {"refresh -[ZqShelf refresh] @selector(refresh)",
         "reload -[Cart reload] @selector(reload)"},
        {"<ZqHarbor> -[ZqHarbor refresh]", "<ZqHarbor> -[ZqHarbor reload]"},
    };
    for (const auto& [renamed, original] : cases) {
        EXPECT_EQ(translation.translate(renamed), original) << renamed;
    }
}

TEST(NameTranslation, APieceBySelectorOnlyWhenEveryPieceMaps) {
    const NameTranslation translation(NameTable({
        {Kind::method, "addItem:count:", "putThing:many:", false},
        {Kind::method, "load:animated:", "fetch:animated:", false},
    }));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"-[K putThing:]", "-[K addItem:]"},
        {"-[K many:putThing:]", "-[K count:addItem:]"},
        {"-[K fetch:many:]", "-[K load:count:]"},
        {"@selector(many:animated:)", "@selector(count:animated:)"},
        {"-[K putThing:other:]", "-[K putThing:other:]"},
        {"putThing:other: putThing:", "putThing:other: addItem:"},
        {"-[K putThing::]", "-[K addItem::]"},
    };
    for (const auto& [renamed, original] : cases) {
        EXPECT_EQ(translation.translate(renamed), original) << renamed;
    }
}

// An old name that another entry gives as its new name makes a chain: one run takes each token
// one step back, never two, and a second run takes the next step.
TEST(NameTranslation, AChainIsTranslatedOneStepARun) {
    const NameTranslation translation(NameTable({
        {Kind::classType, "Basket", "Cart", false},
        {Kind::classType, "Cart", "ZqShelf", false},
    }));
    const auto once = translation.translate("-[ZqShelf load] Cart ZqShelf");
    EXPECT_EQ(once, "-[Cart load] Basket Cart");
    EXPECT_EQ(translation.translate(once), "-[Basket load] Basket Basket");
}

TEST(NameTranslation, EntriesNoTextCanHoldAreLeftOutAndTheOthersStillWork) {
    const std::vector<NameEntry> unusable = {
        {Kind::method, "addItem:count:", "putThing:", false},
        {Kind::method, "reload", "refresh:", false},
        {Kind::classType, "Cart", "Zq Shelf", false},
        {Kind::property, "price", "9lives", false},
        {Kind::file, "Models/Cart\"s.m", "Models/ZqShelf.m", false},
        {Kind::file, "Models/Cart", "Models/ZqShelf", false},
    };
    std::vector<NameEntry> entries = unusable;
    entries.push_back({Kind::classType, "CartCell", "ZqLantern", false});
    const NameTranslation translation{NameTable(entries)};
    EXPECT_EQ(translation.leftOut(), NameTable(unusable).entries());
    EXPECT_EQ(translation.translate("ZqLantern putThing: ZqShelf.m 9lives"),
              "CartCell putThing: ZqShelf.m 9lives");
}

} // namespace
} // namespace quillet::test
