// Properties, renamed only when a run asks for them: the declaration, the getter and setter,
// the instance variable, dot syntax, observed and sorted keys and interface file outlets and
// key paths take the new name together; a name the SDK, the runtime, a stored form or code the
// tool cannot follow reads keeps its own.
#include <map>
#include <memory>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "support/PreciseProject.h"

namespace quillet::test {
namespace {

NameKinds withProperties() {
    NameKinds kinds;
    kinds.add(NameKind::properties);
    return kinds;
}

std::string verdictOf(PreciseProject& project, const std::string& name) {
    for (const auto& type : project.tool().mode().typeNames()) {
        if (type.kind == TypeName::Kind::property && type.name == name) {
            return type.protection ? type.protection->describe() : "rename";
        }
    }
    return "absent";
}

std::map<std::string, std::string> renameAll(PreciseProject& project) {
    auto& tool = project.tool();
    const auto pairs = *tool.makeNewNames({});
    const auto renames = *tool.makeTypeNames({}, "");
    const std::string nameList = tool.rewrite(pairs);
    tool.rewriteTypeNames(renames);
    tool.writeOutputs(nameList);
    std::map<std::string, std::string> renamed;
    for (const auto& rename : renames) {
        renamed.emplace(rename.from, rename.to);
    }
    return renamed;
}

std::string capitalised(std::string name) {
    name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

TEST(PropertyNames, AreRenamedWhereverARenameFollows) {
    ProtectionInputs inputs;
    inputs.sdk = std::make_shared<SelectorSet>(SelectorSet{"present:caption:"});
    PreciseProject project(withProperties(), inputs);
    TempDir& dir = project.dir();
    dir.write("Item.h", "#import <Foundation/Foundation.h>\n@interface Item : NSObject\n"
                        "@property (nonatomic, copy) NSString *caption;\n"
                        "@property (nonatomic) NSInteger stockLevel;\n@end\n");
    dir.write(
        "Item.m",
        "#import \"Item.h\"\n@interface Item ()\n@property (nonatomic) BOOL dirtyMark;\n@end\n"
        "@implementation Item\n@synthesize stockLevel = _stockLevel;\n"
        "- (void)setCaption:(NSString *)caption {\n    _caption = [caption copy];\n"
        "    self.dirtyMark = YES;\n}\n"
        "- (void)watch:(Item *)other on:(id)screen {\n"
        "    [other addObserver:self forKeyPath:@\"caption\" options:0 context:NULL];\n"
        "    [self setValue:@(3) forKey:@\"stockLevel\"];\n"
        "    NSString *text = other.caption ? other.caption : @\"\";\n"
        "    [screen present:text caption:self.caption];\n"
        "    SEL step = @selector(setStockLevel:);\n"
        "    [self setStockLevel:[self stockLevel] + 1];\n"
        "    id sort = [NSSortDescriptor sortDescriptorWithKey:@\"stockLevel\" ascending:YES];\n"
        "    (void)step; (void)sort;\n}\n"
        "- (void)observeValueForKeyPath:(NSString *)keyPath ofObject:(id)object\n"
        "                        change:(NSDictionary *)change context:(void *)context {\n"
        "    if ([keyPath isEqualToString:@\"caption\"]) {\n        _dirtyMark = NO;\n    }\n"
        "}\n@end\n");
    dir.write("Main.storyboard",
              "<?xml version=\"1.0\"?>\n<document><objects><viewController customClass=\"Item\">"
              "<connections><outlet property=\"caption\" destination=\"a\"/></connections>"
              "<userDefinedRuntimeAttributes><userDefinedRuntimeAttribute type=\"number\" "
              "keyPath=\"stockLevel\"/></userDefinedRuntimeAttributes></viewController></objects>"
              "</document>\n");
    ASSERT_TRUE(project.scan());
    for (const char* name : {"caption", "stockLevel", "dirtyMark"}) {
        ASSERT_EQ(verdictOf(project, name), "rename") << name;
    }

    const auto renamed = renameAll(project);
    const std::string caption = renamed.at("caption");
    const std::string stock = renamed.at("stockLevel");
    const std::string dirty = renamed.at("dirtyMark");
    EXPECT_TRUE(std::regex_match(caption, std::regex("[a-z][A-Za-z]{5,15}"))) << caption;
    const std::string header = project.read("Item.h");
    EXPECT_NE(header.find("NSString *" + caption + ";"), std::string::npos) << header;
    EXPECT_NE(header.find("NSInteger " + stock + ";"), std::string::npos) << header;
    const std::string source = project.read("Item.m");
    for (const std::string& expected :
         {"@property (nonatomic) BOOL " + dirty + ";", "@synthesize " + stock + " = _" + stock,
          "- (void)set" + capitalised(caption) + ":(NSString *)" + caption + " {",
          "_" + caption + " = [" + caption + " copy];", "self." + dirty + " = YES;",
          "forKeyPath:@\"" + caption + "\"", "forKey:@\"" + stock + "\"",
          "other." + caption + " ? other." + caption + " : @\"\"",
          "[screen present:text caption:self." + caption + "];",
          "@selector(set" + capitalised(stock) + ":)",
          "[self set" + capitalised(stock) + ":[self " + stock + "] + 1]",
          "sortDescriptorWithKey:@\"" + stock + "\"", "isEqualToString:@\"" + caption + "\"",
          "_" + dirty + " = NO;"}) {
        EXPECT_NE(source.find(expected), std::string::npos) << expected << " in\n" << source;
    }
    const std::string storyboard = project.read("Main.storyboard");
    EXPECT_NE(storyboard.find("property=\"" + caption + "\""), std::string::npos) << storyboard;
    EXPECT_NE(storyboard.find("keyPath=\"" + stock + "\""), std::string::npos) << storyboard;
    EXPECT_EQ(std::regex_replace(source, std::regex("caption:self"), "").find("aption"),
              std::string::npos)
        << source;
}

TEST(PropertyNames, KeepTheirNamesWhereARenameCouldNotFollow) {
    ProtectionInputs inputs;
    inputs.sdk = std::make_shared<SelectorSet>(SelectorSet{"title", "setBadge:forState:"});
    inputs.userList = {"keptByUser"};
    PreciseProject project(withProperties(), inputs);
    TempDir& dir = project.dir();
    dir.write("Shop.h",
              "#import <Foundation/Foundation.h>\n@interface Shop : NSObject\n"
              "@property NSString *plain;\n@property NSString *title;\n@property int badge;\n"
              "@property (getter=isOpen) BOOL open;\n@property IBInspectable int radius;\n"
              "@property NSString *keptByUser;\n@property NSString *dictKey;\n"
              "@property int counter;\n@property NSArray *shelves;\n"
              "@property NSString *swiftUsed;\n@property NSString *vendorUsed;\n"
              "@property NSString *hash;\n@end\n"
              "@interface Saved : NSObject <NSSecureCoding>\n@property NSString *memo;\n@end\n"
              "@interface Mapped : NSObject\n@property NSString *remoteId;\n@end\n"
              "@interface Stored : NSManagedObject\n@property NSString *storedField;\n@end\n");
    dir.write("Shop.m", "#import \"Shop.h\"\n@implementation Shop\n"
                        "- (NSUInteger)countOfShelves {\n    return 0;\n}\n"
                        "- (id)find:(NSDictionary *)d {\n    counter(3);\n"
                        "    return [d objectForKey:@\"dictKey\"];\n}\n@end\n"
                        "@implementation Saved\n@end\n@implementation Stored\n@end\n"
                        "@implementation Mapped\n+ (id)load:(id)json {\n"
                        "    return [Mapped mj_objectWithKeyValues:json];\n}\n@end\n");
    dir.write("App.swift", "let s = shop.swiftUsed\n");
    dir.write("Vendor/Lib.m", "id f(id o) { return [o vendorUsed]; }\n");
    project.tool().setRootPath(dir.str());
    ASSERT_TRUE(project.tool().loadFiles({"Vendor/"}));
    project.tool().collectMethods();

    EXPECT_EQ(verdictOf(project, "plain"), "rename");
    const std::map<std::string, std::string> expected = {
        {"title", "declared by the SDK"},
        {"badge", "declared by the SDK"},
        {"open", "also the name of a property whose getter or setter has a name of its own"},
        {"radius", "written as a string in Interface Builder"},
        {"keptByUser", "in the list of protected selectors"},
        {"dictKey", "written as a string in " + dir.str() + "/Shop.m"},
        {"counter", "also the name of a function or macro"},
        {"shelves", "written as a string in the key-value coding accessor countOfShelves"},
        {"swiftUsed", "used from Swift"},
        {"vendorUsed", "used in " + dir.str() + "/Vendor/Lib.m, which is ignored"},
        {"hash", "called by the runtime by name"},
        {"memo", "archived under its name (Saved adopts"},
        {"remoteId", "written as a string in code that reads Mapped's properties by name"},
        {"storedField", "written as a string in a class mapped by its properties' names"},
    };
    for (const auto& [name, start] : expected) {
        EXPECT_TRUE(verdictOf(project, name).starts_with(start))
            << name << ": " << verdictOf(project, name);
    }
}

} // namespace
} // namespace quillet::test
