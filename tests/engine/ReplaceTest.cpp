#include <any>
#include <thread>

#include <gtest/gtest.h>

#include "engine/MRenameTool.h"
#include "log/Console.h"
#include "notify/Notify.h"
#include "support/EngineRun.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

constexpr const char* fooHeader = "#import <Foundation/Foundation.h>\n"
                                  "@interface Foo : NSObject\n"
                                  "- (void)fooWithName:(NSString *)name count:(int)count;\n"
                                  "@end\n";

// Renames fooWithName:count: (declared in Foo.h) to xxApple:river: in the project.
void renameFoo(const TempDir& dir) {
    MRenameTool tool;
    scan(tool, dir.str());
    ASSERT_TRUE(tool.replace({renamePair("fooWithName:count:", "Foo.h", "xxApple:river:")}));
}

TEST(ReplaceScope, OnlyFilesThatSeeTheHeaderAreRewritten) {
    TempDir dir;
    dir.write("Foo.h", fooHeader);
    dir.write("Foo.m", "#import \"Foo.h\"\n@implementation Foo\n@end\n");
    const std::string call = "    [obj fooWithName:@\"a\" count:2];\n";
    dir.write("Bar.m", "#import \"Foo.h\"\nvoid bar(id obj) {\n" + call + "}\n");
    dir.write("Baz.m", "#import \"Other.h\"\nvoid baz(id obj) {\n" + call + "}\n");
    renameFoo(dir);
    EXPECT_EQ(readFile(dir.path() / "Bar.m"),
              "#import \"Foo.h\"\nvoid bar(id obj) {\n    [obj xxApple:@\"a\" river:2];\n}\n");
    EXPECT_EQ(readFile(dir.path() / "Baz.m"),
              "#import \"Other.h\"\nvoid baz(id obj) {\n" + call + "}\n");
    EXPECT_EQ(readFile(dir.path() / "Foo.h"), "#import <Foundation/Foundation.h>\n"
                                              "@interface Foo : NSObject\n"
                                              "- (void)xxApple:(NSString *)name river:(int)count;\n"
                                              "@end\n");
}

TEST(ReplaceScope, HeadersReachedThroughOtherHeadersCount) {
    TempDir dir;
    dir.write("Foo.h", fooHeader);
    dir.write("Foo.m", "#import \"Foo.h\"\n");
    dir.write("Umbrella.h", "#import \"Foo.h\"\n");
    dir.write("Deep.h", "#import \"Umbrella.h\"\n");
    dir.write("User.m", "#import \"Deep.h\"\nvoid f(id o) { [o fooWithName:nil count:1]; }\n");
    renameFoo(dir);
    EXPECT_EQ(readFile(dir.path() / "User.m"),
              "#import \"Deep.h\"\nvoid f(id o) { [o xxApple:nil river:1]; }\n");
}

TEST(ReplaceDefinitions, SignatureAfterPreviousMethodIsRewrittenAndBodyTreatedAsCalls) {
    TempDir dir;
    dir.write("Foo.h", fooHeader);
    dir.write("Foo.m", "#import \"Foo.h\"\n"
                       "@implementation Foo\n"
                       "- (void)other {\n    [self reload];\n}\n\n"
                       "- (void)fooWithName:(NSString *)name count:(int)count {\n"
                       "    [self fooWithName:name count:count - 1];\n"
                       "    [self.xfooWithName:name count:1];\n"
                       "}\n"
                       "@end\n");
    renameFoo(dir);
    // The body's second call has no blank before its first piece, so it is not a call site.
    EXPECT_EQ(readFile(dir.path() / "Foo.m"),
              "#import \"Foo.h\"\n"
              "@implementation Foo\n"
              "- (void)other {\n    [self reload];\n}\n\n"
              "- (void)xxApple:(NSString *)name river:(int)count {\n"
              "    [self xxApple:name river:count - 1];\n"
              "    [self.xfooWithName:name count:1];\n"
              "}\n"
              "@end\n");
}

TEST(ReplaceDefinitions, SignatureSpreadOverLinesIsRewrittenInFull) {
    TempDir dir;
    dir.write("Foo.h", "- (void)fooWithName:(NSString *)name\n"
                       "              count:(int)count;\n");
    dir.write("Foo.m", "#import \"Foo.h\"\n}\n\n- (void)fooWithName:(NSString *)name\n"
                       "              count:(int)count\n{\n}\n");
    renameFoo(dir);
    EXPECT_EQ(readFile(dir.path() / "Foo.h"), "- (void)xxApple:(NSString *)name\n"
                                              "              river:(int)count;\n");
    EXPECT_EQ(readFile(dir.path() / "Foo.m"),
              "#import \"Foo.h\"\n}\n\n- (void)xxApple:(NSString *)name\n"
              "              river:(int)count\n{\n}\n");
}

TEST(ReplaceCallSites, SelectorExpressionIsRewrittenAndNothingElseInItsSubPiece) {
    TempDir dir;
    dir.write("Foo.h", fooHeader);
    dir.write("Foo.m", "#import \"Foo.h\"\nvoid f(id o) {\n"
                       "    [o performSelector:@selector(fooWithName:count:) withObject:[o "
                       "fooWithName:nil count:1]];\n"
                       "    [o fooWithName:nil count:2];\n}\n");
    renameFoo(dir);
    EXPECT_EQ(readFile(dir.path() / "Foo.m"),
              "#import \"Foo.h\"\nvoid f(id o) {\n"
              "    [o performSelector:@selector(xxApple:river:) withObject:[o fooWithName:nil "
              "count:1]];\n"
              "    [o xxApple:nil river:2];\n}\n");
}

TEST(ReplaceCallSites, PieceAtTheStartOfALineIsNotFound) {
    TempDir dir;
    dir.write("Foo.h", fooHeader);
    const std::string body =
        "#import \"Foo.h\"\nvoid f(id o) {\n    [o\nfooWithName:nil count:2];\n}\n";
    dir.write("Foo.m", body);
    renameFoo(dir);
    EXPECT_EQ(readFile(dir.path() / "Foo.m"), body);
}

TEST(ReplaceCallSites, AnotherMethodSharingThePiecesIsRewrittenToo) {
    TempDir dir;
    dir.write("Foo.h", fooHeader);
    dir.write("Foo.m", "#import \"Foo.h\"\nvoid f(id o) {\n"
                       "    [o fooWithName:nil count:2 extra:3];\n}\n");
    renameFoo(dir);
    EXPECT_EQ(readFile(dir.path() / "Foo.m"),
              "#import \"Foo.h\"\nvoid f(id o) {\n    [o xxApple:nil river:2 extra:3];\n}\n");
}

TEST(ReplaceCallSites, SelectorWhosePieceEndsInALetterIsFoundWhereThePiecesRunTogether) {
    TempDir dir;
    // A declaration without a parameter type gives the piece "fooWithName:x"; in a selector
    // expression the next piece follows it directly, as in "...:xcount:".
    dir.write("Foo.h", "- (void)fooWithName:x count:(int)c;\n");
    std::string body = "#import \"Foo.h\"\n";
    for (int i = 0; i < 5; ++i) {
        body += "[o fooWithName:1];\n";
    }
    body += "SEL s = @selector(fooWithName:xcount:);\n";
    dir.write("Foo.m", body);
    MRenameTool tool;
    scan(tool, dir.str());
    tool.replace(
        {RenamePair{MethodModel{{"fooWithName:x", "count:"}, "Foo.h"}, method("xxApple:river:")}});
    EXPECT_NE(readFile(dir.path() / "Foo.m").find("@selector(xxApple:river:)"), std::string::npos);
}

TEST(ReplaceHeaders, CommentLineBeforeDeclarationIsCutAway) {
    TempDir dir;
    dir.write("Foo.h", "@interface Foo\n// Looks up fooWithName: count: for a name\n"
                       "- (void)fooWithName:(NSString *)name count:(int)count;\n@end\n");
    dir.write("Foo.m", "");
    renameFoo(dir);
    // "//" is cut away, but the comment's text stays in front of the declaration, so the
    // declaration is still recognised and the text is renamed with it.
    EXPECT_EQ(readFile(dir.path() / "Foo.h"),
              "@interface Foo\n// Looks up xxApple: river: for a name\n"
              "- (void)xxApple:(NSString *)name river:(int)count;\n@end\n");
}

TEST(ReplaceOrder, LongerSelectorSharingAPieceIsRewrittenFirst) {
    TempDir dir;
    dir.write("Loader.h", "- (void)load:(int)a;\n- (void)load:(int)a count:(int)c;\n");
    dir.write("Loader.m", "#import \"Loader.h\"\nvoid f(id o) {\n"
                          "    [o load:1 count:2];\n    [o load:3];\n}\n");
    MRenameTool tool;
    scan(tool, dir.str());
    ASSERT_EQ(tool.allMethodNames().size(), 2u);
    EXPECT_EQ(tool.allMethodNames()[0].selector(), "load:count:");
    tool.replace({renamePair("load:count:", "Loader.h", "pullRope:many:"),
                  renamePair("load:", "Loader.h", "fetchBox:")});
    EXPECT_EQ(readFile(dir.path() / "Loader.m"),
              "#import \"Loader.h\"\nvoid f(id o) {\n"
              "    [o pullRope:1 many:2];\n    [o fetchBox:3];\n}\n");
    EXPECT_EQ(readFile(dir.path() / "Loader.h"),
              "- (void)fetchBox:(int)a;\n- (void)pullRope:(int)a many:(int)c;\n");
}

TEST(ReplaceOutputs, NameListHoldsOneEntryPerPairAndNothingElse) {
    TempDir dir;
    dir.write("Foo.h", fooHeader);
    dir.write("Foo.m", "");
    MRenameTool tool;
    scan(tool, dir.str());
    tool.replace({renamePair("fooWithName:count:", "Foo.h", "xxApple:river:"),
                  renamePair("other:", "Foo.h", "thing:")});
    EXPECT_EQ(readFile(dir.path() / "MethodReplaceList.txt"),
              "[ 1/2 ] Method in Foo.h\nOld --> fooWithName:count:\nNew --> xxApple:river:\n\n"
              "[ 2/2 ] Method in Foo.h\nOld --> other:\nNew --> thing:\n\n");

    MRenameTool empty;
    scan(empty, dir.str());
    empty.replace({});
    EXPECT_EQ(readFile(dir.path() / "MethodReplaceList.txt"), "");
}

TEST(ReplaceOutputs, ProgressIsPostedOncePerPairOnTheCallingThread) {
    TempDir dir;
    dir.write("Foo.h", fooHeader);
    dir.write("Foo.m", "");
    std::vector<std::string> texts;
    const auto caller = std::this_thread::get_id();
    bool sameThread = true;
    int owner = 0;
    Notify::add(
        &owner,
        [&](const PostedNotification& note) {
            texts.push_back(std::any_cast<std::string>(note.object));
            sameThread = sameThread && std::this_thread::get_id() == caller;
        },
        Notification::progress);
    MRenameTool tool;
    scan(tool, dir.str());
    tool.replace({renamePair("fooWithName:count:", "Foo.h", "xxApple:river:"),
                  renamePair("other:", "Foo.h", "thing:")});
    Notify::center().removeObserver(&owner);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "[ 1/2 ]\n\n\nOrigin:\nfooWithName:count:\n\nNew:\nxxApple:river:");
    EXPECT_EQ(texts[1], "[ 2/2 ]\n\n\nOrigin:\nother:\n\nNew:\nthing:");
    EXPECT_TRUE(sameThread);
}

TEST(ReplaceOutputs, LogNamesEachPairThenEachFileInScope) {
    TempDir dir;
    dir.write("Foo.h", fooHeader);
    dir.write("Foo.m", "#import \"Foo.h\"\n");
    dir.write("Lone.m", "");
    dir.write("Sub/User.m", "#import \"Foo.h\"\n");
    Console::shared().clear();
    renameFoo(dir);
    const std::string log = readFile(Console::shared().path());
    // Then the name list, as the run's record of its new names.
    EXPECT_EQ(logValues(log),
              (std::vector<std::string>{"Replacing fooWithName:count:", "Foo.h", "Foo.m", "User.m",
                                        "MethodReplaceList.txt", "[ 1/1 ] Method in Foo.h",
                                        "Old --> fooWithName:count:", "New --> xxApple:river:"}));
    EXPECT_NE(log.find(" replace(factor:) [Line "), std::string::npos);
}

TEST(ReplaceText, LineEndsAndNonAsciiTextSurvive) {
    TempDir dir;
    dir.write("Foo.h", "- (void)fooWithName:(NSString *)name count:(int)count;\r\n");
    dir.write("Foo.m", "#import \"Foo.h\"\r\n// 名前 ✓\r\nvoid f(id o) {\r\n"
                       "    [o fooWithName:@\"名前\" count:2];\r\n}\r\n");
    renameFoo(dir);
    EXPECT_EQ(readFile(dir.path() / "Foo.h"),
              "- (void)xxApple:(NSString *)name river:(int)count;\r\n");
    EXPECT_EQ(readFile(dir.path() / "Foo.m"), "#import \"Foo.h\"\r\n// 名前 ✓\r\nvoid f(id o) {\r\n"
                                              "    [o xxApple:@\"名前\" river:2];\r\n}\r\n");
}

TEST(ReplaceText, OtherFilesOfTheProjectAreNeverTouched) {
    TempDir dir;
    dir.write("Foo.h", fooHeader);
    dir.write("Foo.m", "");
    const std::string swift =
        "import Foo\nfoo.fooWithName(\"a\", count: 2) // fooWithName:count:\n";
    const std::string board = "<action selector=\"fooWithName:count:\"/>\n";
    dir.write("App.swift", swift);
    dir.write("Main.storyboard", board);
    renameFoo(dir);
    EXPECT_EQ(readFile(dir.path() / "App.swift"), swift);
    EXPECT_EQ(readFile(dir.path() / "Main.storyboard"), board);
}

} // namespace
} // namespace quillet::test
