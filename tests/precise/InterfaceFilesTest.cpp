// Interface and data files that name selectors: what a precise run renames in them byte for
// byte, what it keeps because it cannot be rewritten, and that damaged binary files are survived.
#include <algorithm>
#include <map>
#include <random>

#include <gtest/gtest.h>

#include "engine/MRenameTool.h"
#include "job/RenameStrategies.h"
#include "precise/BinaryPropertyList.h"
#include "precise/ClassesNibScanner.h"
#include "precise/InterfaceFileScanner.h"
#include "precise/PropertyListScanner.h"
#include "precise/ResourceFileScanner.h"
#include "random/RandomSource.h"
#include "support/EngineRun.h"
#include "support/Files.h"
#include "text/Utf.h"

namespace quillet::test {
namespace {

using objc::UseKind;

// A binary property list as CoreFoundation lays one out: an array (the top object) of the
// strings, each ASCII unless `utf16`, two-byte offsets and one-byte object references.
std::string binaryPlist(const std::vector<std::string>& strings, bool utf16 = false) {
    std::string bytes = "bplist00";
    std::vector<std::size_t> offsets;
    const auto marker = [&](unsigned type, std::size_t count) {
        if (count < 15) {
            bytes += static_cast<char>(type << 4 | count);
        } else {
            bytes += static_cast<char>(type << 4 | 0xF);
            bytes += '\x10';
            bytes += static_cast<char>(count);
        }
    };
    offsets.push_back(bytes.size());
    marker(0xA, strings.size());
    for (std::size_t i = 0; i < strings.size(); ++i) {
        bytes += static_cast<char>(i + 1);
    }
    for (const auto& text : strings) {
        offsets.push_back(bytes.size());
        const std::string characters =
            utf16 ? text::utf8ToUtf16(text, text::ByteOrder::bigEndian) : text;
        marker(utf16 ? 0x6 : 0x5, utf16 ? characters.size() / 2 : characters.size());
        bytes += characters;
    }
    const std::size_t table = bytes.size();
    for (const auto offset : offsets) {
        bytes += static_cast<char>(offset >> 8);
        bytes += static_cast<char>(offset & 0xFF);
    }
    const auto bigEndian64 = [&](std::uint64_t value) {
        for (int shift = 56; shift >= 0; shift -= 8) {
            bytes += static_cast<char>((value >> shift) & 0xFF);
        }
    };
    bytes.append(6, '\0');
    bytes += '\x02'; // offset size
    bytes += '\x01'; // object reference size
    bigEndian64(offsets.size());
    bigEndian64(0); // the top object
    bigEndian64(table);
    return bytes;
}

const std::string panelHeader = "@interface Panel : NSObject\n"
                                "- (IBAction)done:(id)sender;\n"
                                "- (IBAction)note:(id)sender;\n"
                                "- (IBAction)archived:(id)sender;\n"
                                "- (void)listed:(id)item;\n"
                                "- (void)lost:(id)item;\n"
                                "@end\n";
const std::string panelSource = "#import \"Panel.h\"\n@implementation Panel\n"
                                "- (IBAction)done:(id)sender {}\n"
                                "- (IBAction)note:(id)sender {}\n"
                                "- (IBAction)archived:(id)sender {}\n"
                                "- (void)listed:(id)item {}\n"
                                "- (void)lost:(id)item {}\n"
                                "@end\n";

const std::string storyboard =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document type=\"storyboard\">\n<scenes>\n"
    "  <scene sceneID=\"s1\"><objects>\n"
    "    <button title=\"Done\" id=\"b1\"><connections>\n"
    "      <action selector=\"done:\" destination=\"v1\" eventType=\"touchUpInside\" id=\"a1\"/>\n"
    "      <segue destination=\"x1\" kind=\"unwind\" unwindAction=\"done:\" id=\"u1\"/>\n"
    "    </connections></button>\n  </objects></scene>\n</scenes>\n</document>\n";

// An Interface Builder 3 archive, in the forms its connections and class descriptions take.
const std::string archive =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<archive type=\"com.apple.InterfaceBuilder3.CocoaTouch.XIB\" version=\"8.00\">\n<data>\n"
    "<object class=\"IBUILabel\" id=\"7\"><string key=\"IBUIText\">note:</string></object>\n"
    "<object class=\"IBObjectContainer\" key=\"IBDocument.Objects\">\n"
    "<array class=\"NSMutableArray\" key=\"connectionRecords\">\n"
    "<object class=\"IBConnectionRecord\">\n"
    "  <object class=\"IBCocoaTouchOutletConnection\" key=\"connection\">\n"
    "    <string key=\"label\">view</string>\n  </object>\n</object>\n"
    "<object class=\"IBConnectionRecord\">\n"
    "  <object class=\"IBCocoaTouchEventConnection\" key=\"connection\">\n"
    "    <string key=\"label\">done:</string>\n    <int key=\"IBEventType\">7</int>\n"
    "  </object>\n</object>\n</array>\n</object>\n"
    "<object class=\"IBPartialClassDescription\">\n"
    "  <string key=\"className\">Panel</string>\n"
    "  <object class=\"NSMutableDictionary\" key=\"actions\">\n"
    "    <string key=\"NS.key.0\">done:</string>\n    <string key=\"NS.object.0\">id</string>\n"
    "  </object>\n"
    "  <dictionary class=\"NSMutableDictionary\" key=\"actionInfosByName\">\n"
    "    <object class=\"IBActionInfo\" key=\"done:\">\n"
    "      <string key=\"name\">done:</string>\n"
    "      <string key=\"candidateClassName\">id</string>\n    </object>\n"
    "  </dictionary>\n</object>\n</data>\n</archive>\n";

const std::string designableNib =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<archive type=\"com.apple.InterfaceBuilder3.Cocoa.XIB\" version=\"7.10\">\n<data>\n"
    "<object class=\"IBConnectionRecord\">\n"
    "  <object class=\"IBActionConnection\" key=\"connection\">\n"
    "    <string key=\"label\">done:</string>\n  </object>\n"
    "  <int key=\"connectionID\">9</int>\n</object>\n</data>\n</archive>\n";

const std::string classesNib = "{\n    IBClasses = (\n"
                               "        {ACTIONS = {done = id; }; CLASS = Panel; "
                               "LANGUAGE = ObjC; SUPERCLASS = NSObject; },\n"
                               "        {CLASS = FirstResponder; LANGUAGE = ObjC; }\n"
                               "    );\n    IBVersion = 1;\n}\n";

const std::string plugInInfo =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
    "  <key>CFBundleName</key>\n  <string>Exporter</string>\n"
    "  <key>actionSelector</key>\n  <string>done:</string>\n</dict>\n</plist>\n";

const std::string scriptingDefinition =
    "<?xml version=\"1.0\"?>\n<dictionary title=\"Panel\">\n<suite name=\"Panel\" code=\"Panl\">\n"
    "  <class name=\"panel\" code=\"panl\">\n    <cocoa class=\"Panel\" key=\"panels\"/>\n"
    "    <responds-to command=\"finish\"><cocoa method=\"done:\"/></responds-to>\n"
    "  </class>\n</suite>\n</dictionary>\n";

TEST(InterfaceFiles, ActionsAreRenamedInEveryFormatAndWhatCannotBeRewrittenKeepsItsName) {
    TempDir dir;
    dir.write("Panel.h", panelHeader);
    dir.write("Panel.m", panelSource);
    dir.write("Main.storyboard", storyboard);
    dir.write("Old.xib", archive);
    dir.write("Mac.nib/designable.nib", designableNib);
    dir.write("Mac.nib/classes.nib", classesNib);
    const std::string compiled = binaryPlist({"$objects", "NSLabel", "archived:"});
    dir.write("Mac.nib/keyedobjects.nib", compiled);
    const std::string binarySettings = binaryPlist({"listed:"}, true);
    dir.write("Settings.plist", binarySettings);
    std::string truncated = binaryPlist({"lost:"});
    truncated.resize(truncated.size() - 20);
    dir.write("Damaged.nib", truncated);
    dir.write("PlugIn/Info.plist", plugInInfo);
    dir.write("Panel.sdef", scriptingDefinition);

    SeededRandom random(5);
    MRenameTool tool(random, strategyFor(RenameMode::precise));
    scan(tool, dir.str());
    const auto reasonOf = [&](const std::string& selector) {
        const auto* reason = tool.protectionOf(selector);
        return reason ? reason->describe() : std::string("not protected");
    };
    EXPECT_EQ(reasonOf("done:"), "not protected");
    EXPECT_EQ(reasonOf("archived:"),
              "named in " + dir.str() + "/Mac.nib/keyedobjects.nib, where it cannot be rewritten");
    EXPECT_EQ(reasonOf("listed:"),
              "named in " + dir.str() + "/Settings.plist, where it cannot be rewritten");
    EXPECT_EQ(reasonOf("note:"), "named in " + dir.str() + "/Old.xib, where it cannot be rewritten")
        << "a label's text is no action";
    EXPECT_EQ(reasonOf("lost:").rfind("used in " + dir.str() + "/Damaged.nib", 0), 0u)
        << "read from what is left of a damaged binary list";
    EXPECT_TRUE(tool.unreadableFiles().empty());
    const auto unparsed = tool.unparsedFiles();
    ASSERT_EQ(unparsed.size(), 1u);
    EXPECT_EQ(unparsed[0].path, dir.str() + "/Damaged.nib");

    ASSERT_EQ(tool.allMethodNames().size(), 1u);
    tool.replace({RenamePair{tool.allMethodNames()[0], method("finish:")}});
    const auto renamed = [](std::string text, std::string_view from, std::string_view to) {
        for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
            text.replace(at, from.size(), to);
            at += to.size();
        }
        return text;
    };
    EXPECT_EQ(readFile(dir.path() / "Main.storyboard"),
              renamed(storyboard, "\"done:\"", "\"finish:\""));
    EXPECT_EQ(readFile(dir.path() / "Old.xib"), renamed(archive, "done:", "finish:"));
    EXPECT_EQ(readFile(dir.path() / "Mac.nib/designable.nib"),
              renamed(designableNib, "done:", "finish:"));
    EXPECT_EQ(readFile(dir.path() / "Mac.nib/classes.nib"),
              renamed(classesNib, "{done =", "{finish ="));
    EXPECT_EQ(readFile(dir.path() / "PlugIn/Info.plist"), renamed(plugInInfo, "done:", "finish:"));
    EXPECT_EQ(readFile(dir.path() / "Panel.sdef"),
              renamed(scriptingDefinition, "done:", "finish:"));
    EXPECT_EQ(readFile(dir.path() / "Mac.nib/keyedobjects.nib"), compiled);
    EXPECT_EQ(readFile(dir.path() / "Settings.plist"), binarySettings);
    EXPECT_EQ(readFile(dir.path() / "Damaged.nib"), truncated);
    EXPECT_EQ(tool.writeReport().failed, 0u);
}

TEST(InterfaceFiles, OnlyPlainValuesInTheirPlaceAreActions) {
    // An action written with an entity, or in CDATA, is the selector but not its bytes.
    const auto escaped = scanInterfaceFile(
        "<document><action selector=\"save&#58;\"/><action selector=\"open:\"/>"
        "<object class=\"IBActionConnection\"><string key=\"label\"><![CDATA[quit:]]></string>"
        "<string key=\"title\">help:</string></object></document>");
    ASSERT_EQ(escaped.uses.size(), 4u);
    EXPECT_EQ(escaped.uses[0].selector, "save:");
    EXPECT_EQ(escaped.uses[0].kind, UseKind::fixedText);
    EXPECT_EQ(escaped.uses[1].kind, UseKind::interfaceAction);
    EXPECT_EQ(escaped.uses[2].selector, "quit:");
    EXPECT_EQ(escaped.uses[2].kind, UseKind::fixedText);
    EXPECT_EQ(escaped.uses[3].selector, "help:");
    EXPECT_EQ(escaped.uses[3].kind, UseKind::fixedText);

    // An older archive lists a class's actions as a sorted key array.
    const auto sorted = scanInterfaceFile(
        "<archive><object class=\"NSMutableDictionary\" key=\"actions\">"
        "<object class=\"NSArray\" key=\"dict.sortedKeys\"><string>cancel:</string></object>"
        "<object class=\"NSArray\" key=\"dict.values\"><string>id</string></object>"
        "</object></archive>");
    ASSERT_EQ(sorted.uses.size(), 1u);
    EXPECT_EQ(sorted.uses[0].kind, UseKind::interfaceAction);

    // In a property list, a key is no action; in a classes.nib, an ACTIONS key is one.
    const auto plist =
        scanPropertyList("<plist><dict><key>go:</key><string> go:</string><key>ACTIONS</key>"
                         "<dict><key>stop</key><string>id</string></dict></dict></plist>",
                         false);
    ASSERT_EQ(plist.uses.size(), 1u);
    EXPECT_EQ(plist.uses[0].kind, UseKind::fixedText);
    const std::string classes = "<plist><dict><key>ACTIONS</key><dict><key>stop</key>"
                                "<string>id</string></dict><key>OUTLETS</key>"
                                "<dict><key>view</key><string>id</string></dict></dict></plist>";
    const auto actions = scanPropertyList(classes, true);
    ASSERT_EQ(actions.uses.size(), 1u);
    EXPECT_EQ(actions.uses[0].selector, "stop:");
    EXPECT_EQ(actions.uses[0].kind, UseKind::actionName);
    EXPECT_EQ(classes.substr(actions.spans[0].offset, actions.spans[0].length), "stop");
}

TEST(InterfaceFiles, DamagedTextFilesSayWhereTheyStop) {
    const auto xml = scanInterfaceFile("<document>\n<action selector=\"save:\"/>\n<scene>\n");
    ASSERT_EQ(xml.problems.size(), 1u);
    EXPECT_EQ(xml.problems[0], "line 4: <scene> is not closed");
    EXPECT_EQ(xml.uses.size(), 1u) << "what was read before stays known";
    EXPECT_EQ(scanInterfaceFile("<a><b></a>").problems.at(0),
              "line 1: </a> closes no open element of that name");

    const auto classes = scanClassesNib("{IBClasses = ({ACTIONS = {done = id; };\n CLASS = ;});}");
    ASSERT_EQ(classes.problems.size(), 1u);
    EXPECT_EQ(classes.problems[0], "line 2: a string is expected");
    ASSERT_EQ(classes.uses.size(), 1u);
    EXPECT_EQ(classes.uses[0].selector, "done:");
    EXPECT_EQ(scanClassesNib(std::string(300, '(')).problems.at(0), "line 1: nested too deeply");
}

TEST(InterfaceFiles, DamagedMarkupNeverBreaksTheReadersAndEverySpanHoldsItsSelector) {
    const std::vector<std::pair<std::string, std::string>> documents = {
        {"Main.storyboard", storyboard},   {"Old.xib", archive},
        {"designable.nib", designableNib}, {"classes.nib", classesNib},
        {"Info.plist", plugInInfo},        {"Panel.sdef", scriptingDefinition}};
    const std::vector<std::string> pieces = {"<",
                                             ">",
                                             "/>",
                                             "</",
                                             "\"",
                                             "'",
                                             "=",
                                             " ",
                                             "done:",
                                             "a:b:",
                                             ":",
                                             "&#58;",
                                             "&",
                                             "<!--",
                                             "-->",
                                             "<![CDATA[",
                                             "]]>",
                                             "<?",
                                             "<!DOCTYPE x [",
                                             "]",
                                             "{",
                                             "}",
                                             "(",
                                             ")",
                                             ";",
                                             ",",
                                             "ACTIONS = {",
                                             "\\",
                                             "/*",
                                             "//",
                                             "<0a>",
                                             "\xC3\xA9",
                                             std::string(1, '\0')};
    std::mt19937 random(23);
    std::size_t actions = 0;
    for (int round = 0; round < 6000; ++round) {
        const auto& [name, original] =
            documents[static_cast<std::size_t>(round) % documents.size()];
        std::string text = original;
        const int damages = 1 + static_cast<int>(random() % 3);
        for (int d = 0; d < damages; ++d) {
            const std::size_t at = random() % text.size();
            if (random() % 2 == 0) {
                text.insert(at, pieces[random() % pieces.size()]);
            } else {
                text.erase(at, 1 + random() % 8);
            }
        }
        const auto facts = scanResourceFile(name, text, false);
        for (const auto& use : facts.uses) {
            if (use.kind == UseKind::fixedText) {
                continue;
            }
            ++actions;
            ASSERT_EQ(use.spanCount, 1u);
            const auto& span = facts.spans[use.firstSpan];
            ASSERT_LE(span.offset + span.length, text.size()) << name << ": " << text;
            const std::string written = text.substr(span.offset, span.length);
            EXPECT_EQ(use.kind == UseKind::actionName ? written + ":" : written, use.selector)
                << name << ": " << text;
        }
    }
    EXPECT_GT(actions, 1000u) << "the damage leaves most actions readable";
}

TEST(InterfaceFiles, BinaryPropertyListsGiveTheirStringsAndSurviveAnyBytes) {
    const std::string whole = binaryPlist({"short:", std::string(40, 'x') + ":", "NSLabel"});
    const BinaryPropertyList list(whole);
    EXPECT_EQ(list.problem(), "");
    EXPECT_EQ(list.strings(),
              (std::vector<std::string>{"short:", std::string(40, 'x') + ":", "NSLabel"}));
    EXPECT_EQ(BinaryPropertyList(binaryPlist({"wide:", "\xC3\xA9t\xC3\xA9"}, true)).strings(),
              std::vector<std::string>{"wide:"});

    // Whatever is cut or changed, the reader stays inside the bytes and gives only strings
    // that are in them; a cut list still gives every string it holds whole.
    const auto inBytes = [](const std::string& bytes) {
        const BinaryPropertyList read(bytes);
        for (const auto& text : read.strings()) {
            if (bytes.find(text) == std::string::npos &&
                bytes.find(text::utf8ToUtf16(text, text::ByteOrder::bigEndian)) ==
                    std::string::npos) {
                return false;
            }
        }
        return true;
    };
    const auto holds = [](const BinaryPropertyList& read, const std::string& text) {
        return std::find(read.strings().begin(), read.strings().end(), text) !=
               read.strings().end();
    };
    const std::size_t shortEnd = whole.find("short:") + 6;
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const std::string cut = whole.substr(0, size);
        const BinaryPropertyList read(cut);
        EXPECT_NE(read.problem(), "") << size;
        EXPECT_TRUE(inBytes(cut)) << size;
        EXPECT_EQ(holds(read, "short:"), size >= shortEnd) << size;
    }
    std::mt19937 random(11);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = whole;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) {
            bytes[random() % bytes.size()] = static_cast<char>(random());
        }
        EXPECT_TRUE(inBytes(bytes)) << round;
    }
    // Offsets that point into one another's strings are refused, not read twice.
    std::string overlapping = binaryPlist({"abc:", "def:"});
    overlapping[overlapping.size() - 32 - 2] = overlapping[overlapping.size() - 32 - 4];
    overlapping[overlapping.size() - 32 - 1] =
        static_cast<char>(overlapping[overlapping.size() - 32 - 3] + 1);
    const BinaryPropertyList overlapped(overlapping);
    EXPECT_EQ(overlapped.problem(),
              "not a whole binary property list: a string does not fit in its place");
    EXPECT_TRUE(holds(overlapped, "def:")) << "found by trying every byte";
}

} // namespace
} // namespace quillet::test
