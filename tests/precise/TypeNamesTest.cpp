// Classes and protocols, renamed only when a run asks for them: every place a rename can follow
// takes the new name (code, lookups by name, interface files, property lists, Core Data models),
// and a name that is stored, looked up where the tool cannot follow, or shared keeps its own.
#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "job/RenameJob.h"
#include "support/PreciseProject.h"

namespace quillet::test {
namespace {

NameKinds typeKinds() {
    NameKinds kinds;
    kinds.add(NameKind::classes);
    kinds.add(NameKind::protocols);
    return kinds;
}

std::string verdictOf(PreciseProject& project, const std::string& name) {
    for (const auto& type : project.tool().mode().typeNames()) {
        if (type.name == name) {
            return type.protection ? type.protection->describe() : "rename";
        }
    }
    return "absent";
}

void writeShop(TempDir& dir) {
    dir.write("Cart.h", "#import <Foundation/Foundation.h>\n@protocol CartDelegate;\n"
                        "@interface Cart : NSObject\n@property (weak) id<CartDelegate> delegate;\n"
                        "+ (Cart *)cartWithCount:(int)count;\n@end\n"
                        "@protocol CartDelegate <NSObject>\n- (void)cartDidChange:(Cart *)cart;\n"
                        "@end\n");
    dir.write("Cart.m", "#import \"Cart.h\"\n@interface Cart ()\n@end\n@implementation Cart\n"
                        "+ (Cart *)cartWithCount:(int)count {\n    return [[Cart alloc] init];\n}\n"
                        "@end\n");
    dir.write("Shop.m",
              "#import \"Cart.h\"\n@class Cart;\nBOOL shop(id thing) {\n"
              "    Class c = NSClassFromString(@\"Cart\");\n"
              "    NSLog(@\"%@ ready\", @\"Cart\");\n"
              "    Protocol *p = NSProtocolFromString(@\"CartDelegate\");\n"
              "    if (![NSStringFromClass([thing class]) isEqualToString:@\"Cart\"]) {\n"
              "        return [thing conformsToProtocol:@protocol(CartDelegate)];\n    }\n"
              "    return c == Cart.class && p != nil && [thing isKindOfClass:[Cart class]];\n}\n");
    dir.write("Base.lproj/Main.storyboard",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document type=\"storyboard\">\n"
              "<scenes><scene><objects><viewController customClass=\"Cart\" id=\"a\"/>"
              "</objects></scene></scenes>\n</document>\n");
    dir.write("Info.plist", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n"
                            "<dict>\n\t<key>NSPrincipalClass</key>\n\t<string>Cart</string>\n"
                            "</dict>\n</plist>\n");
    dir.write(
        "Shop.xcdatamodeld/Shop.xcdatamodel/contents",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<model type=\"com.apple.IDECoreDataModeler."
        "DataModel\">\n    <entity name=\"CartEntity\" representedClassName=\"Cart\"/>\n"
        "</model>\n");
}

// The new name each old one got.
std::map<std::string, std::string> renameTypes(PreciseProject& project, const std::string& prefix) {
    auto& tool = project.tool();
    const auto pairs = *tool.makeNewNames({});
    const auto types = *tool.makeTypeNames({}, prefix);
    const std::string nameList = tool.rewrite(pairs);
    tool.rewriteTypeNames(types);
    tool.writeOutputs(nameList);
    std::map<std::string, std::string> renamed;
    for (const auto& type : types) {
        renamed.emplace(type.from, type.to);
    }
    return renamed;
}

TEST(TypeNames, AreRenamedWhereverARenameFollows) {
    PreciseProject project(typeKinds());
    writeShop(project.dir());
    ASSERT_TRUE(project.scan());
    ASSERT_EQ(verdictOf(project, "Cart"), "rename");
    ASSERT_EQ(verdictOf(project, "CartDelegate"), "rename");

    const auto renamed = renameTypes(project, "QL");
    const std::string cart = renamed.at("Cart");
    const std::string delegate = renamed.at("CartDelegate");
    for (const auto& name : {cart, delegate}) {
        EXPECT_TRUE(std::regex_match(name, std::regex("QL([A-Z][A-Za-z]{3,7}){2}"))) << name;
    }
    // The class's files take its name with them.
    EXPECT_FALSE(std::filesystem::exists(project.dir().path() / "Cart.h"));
    const std::string header = project.read(cart + ".h");
    EXPECT_NE(header.find("@protocol " + delegate + ";\n@interface " + cart + " : NSObject\n"),
              std::string::npos)
        << header;
    EXPECT_NE(header.find("id<" + delegate + "> delegate;\n+ (" + cart + " *)"), std::string::npos);
    EXPECT_NE(header.find("@protocol " + delegate + " <NSObject>"), std::string::npos);
    const std::string source = project.read(cart + ".m");
    EXPECT_NE(source.find("#import \"" + cart + ".h\"\n@interface " + cart + " ()"),
              std::string::npos);
    EXPECT_NE(source.find("[[" + cart + " alloc] init]"), std::string::npos);
    const std::string shop = project.read("Shop.m");
    EXPECT_NE(shop.find("@class " + cart + ";"), std::string::npos);
    EXPECT_NE(shop.find("NSClassFromString(@\"" + cart + "\")"), std::string::npos);
    EXPECT_NE(shop.find("NSProtocolFromString(@\"" + delegate + "\")"), std::string::npos);
    EXPECT_NE(shop.find("isEqualToString:@\"" + cart + "\""), std::string::npos);
    EXPECT_NE(shop.find("NSLog(@\"%@ ready\", @\"" + cart + "\")"), std::string::npos);
    EXPECT_NE(shop.find("@protocol(" + delegate + ")"), std::string::npos);
    EXPECT_NE(shop.find("c == " + cart + ".class"), std::string::npos);
    EXPECT_NE(project.read("Base.lproj/Main.storyboard").find("customClass=\"" + cart + "\""),
              std::string::npos);
    EXPECT_NE(project.read("Info.plist").find("<string>" + cart + "</string>"), std::string::npos);
    // The store keeps the entity's name; only the class that represents it changes.
    EXPECT_NE(project.read("Shop.xcdatamodeld/Shop.xcdatamodel/contents")
                  .find("<entity name=\"CartEntity\" representedClassName=\"" + cart + "\"/>"),
              std::string::npos);
    for (const auto& file : {cart + ".h", cart + ".m", std::string("Shop.m")}) {
        const std::string text = project.read(file);
        EXPECT_EQ(text.find("Cart"), std::string::npos) << file << ":\n" << text;
    }
}

TEST(TypeNames, StayOutOfARunThatDoesNotAskForThem) {
    PreciseProject project;
    writeShop(project.dir());
    ASSERT_TRUE(project.scan());
    EXPECT_TRUE(project.tool().mode().typeNames().empty());
    project.renameAll();
    EXPECT_NE(project.read("Shop.m").find("NSClassFromString(@\"Cart\")"), std::string::npos);
    EXPECT_NE(project.read("Info.plist").find("<string>Cart</string>"), std::string::npos);
}

TEST(TypeNames, KeepTheirNamesWhereARenameCouldNotFollow) {
    ProtectionInputs inputs;
    inputs.userList = {"Kept"};
    PreciseProject project(typeKinds(), inputs);
    TempDir& dir = project.dir();
    std::string header = "#import <Foundation/Foundation.h>\n";
    std::string source = "#import \"Model.h\"\n";
    for (const char* name :
         {"Plain", "Archived", "ArchivedChild", "SelfArchiving", "InSwift", "InString", "WithNib",
          "InIgnored", "Kept", "Shared", "Modular", "Entity", "Keyed", "Member"}) {
        const std::string superclass =
            std::string(name) == "ArchivedChild" ? "Archived" : "NSObject";
        const std::string adopts = std::string(name) == "Archived" ? " <NSSecureCoding>" : "";
        header += "@interface " + std::string(name) + " : " + superclass + adopts + "\n@end\n";
        source += "@implementation " + std::string(name) + "\n@end\n";
    }
    header += "@protocol Shared\n@end\n@interface Holder : NSObject\n@property int Keyed;\n@end\n";
    source += "@implementation SelfArchiving (Coding)\n- (void)encodeWithCoder:(NSCoder *)c {\n}\n"
              "@end\n@implementation Holder\n@end\n"
              "void use(Holder *h, id d) {\n    [d setObject:@\"InString\" forKey:@\"k\"];\n"
              "    (void)h->Member;\n}\n";
    dir.write("Model.h", header);
    dir.write("Model.m", source);
    dir.write("App.swift", "let x = InSwift()\n");
    dir.write("WithNib.xib", "<?xml version=\"1.0\"?>\n<document type=\"xib\"></document>\n");
    dir.write("Main.storyboard",
              "<?xml version=\"1.0\"?>\n<document><viewController customClass=\"Modular\" "
              "customModule=\"Shop\" id=\"b\"/></document>\n");
    dir.write("Store.m", "#import \"Model.h\"\nid entity(NSManagedObjectContext *c, Class k) {\n"
                         "    return [NSEntityDescription entityForName:NSStringFromClass(k) "
                         "inManagedObjectContext:c];\n}\n");
    dir.write("M.xcdatamodel/contents", "<?xml version=\"1.0\"?>\n<model><entity name=\"Entity\" "
                                        "representedClassName=\"Entity\"/></model>\n");
    project.dir().write("Tests/Check.m", "#import \"Model.h\"\nInIgnored *check;\n");
    project.tool().setRootPath(dir.str());
    ASSERT_TRUE(project.tool().loadFiles({"Tests/"}));
    project.tool().collectMethods();

    EXPECT_EQ(verdictOf(project, "Plain"), "rename");
    EXPECT_EQ(verdictOf(project, "Holder"), "rename");
    const std::map<std::string, std::string> expected = {
        {"Archived", "archived under its name (Archived adopts"},
        {"ArchivedChild", "archived under its name (Archived adopts"},
        {"SelfArchiving", "archived under its name (SelfArchiving adopts"},
        {"InSwift", "used from Swift in"},
        {"InString", "named in a string in"},
        {"WithNib", "the name of " + dir.str() + "/WithNib.xib"},
        {"InIgnored", "used in " + dir.str() + "/Tests/Check.m, which is ignored"},
        {"Kept", "in the list of protected selectors"},
        {"Shared", "also the name of a"},
        {"Modular", "named in a string in"},
        {"Entity", "the name of the Core Data entity"},
        {"Keyed", "also the name of a property or instance variable of Holder"},
        {"Member", "also written in"},
    };
    for (const auto& [name, start] : expected) {
        EXPECT_TRUE(verdictOf(project, name).starts_with(start))
            << name << ": " << verdictOf(project, name);
    }
}

TEST(TypeNames, ARunWritesEveryNameToTheTableOnlyWhenAskedForMoreThanMethods) {
    for (const bool types : {false, true}) {
        TempDir dir;
        writeShop(dir);
        RunOptions options;
        options.project = dir.str();
        options.classPrefix = "Zq";
        if (types) {
            options.kinds = typeKinds();
        }
        RunObserver quiet;
        const auto report = RenameJob().run(options, quiet);
        ASSERT_FALSE(report.refusal);
        ASSERT_TRUE(report.complete());
        EXPECT_EQ(std::filesystem::exists(dir.path() / "QuilletNames.tsv"), types);
        EXPECT_EQ(report.typeRenames.size(), types ? 2U : 0U);
        if (!types) {
            continue;
        }
        const std::string table = readFile(dir.path() / "QuilletNames.tsv");
        EXPECT_NE(table.find("method\tcartWithCount:\t"), std::string::npos) << table;
        for (const auto& rename : report.typeRenames) {
            EXPECT_NE(table.find(std::string(kindWord(rename.kind)) + "\t" + rename.from + "\t" +
                                 rename.to + "\n"),
                      std::string::npos)
                << table;
            EXPECT_TRUE(rename.to.starts_with("Zq")) << rename.to;
        }
    }
}

TEST(TypeNames, AnInvalidClassPrefixIsRefusedBeforeAnythingIsRead) {
    TempDir dir;
    writeShop(dir);
    const std::string before = treeDump(dir.path());
    RunOptions options;
    options.project = dir.str();
    options.kinds = typeKinds();
    options.classPrefix = "9x";
    RunObserver quiet;
    const auto report = RenameJob().run(options, quiet);
    ASSERT_TRUE(report.refusal);
    EXPECT_EQ(report.refusal->reason, RunRefusal::Reason::invalidClassPrefix);
    EXPECT_EQ(treeDump(dir.path()), before);
}

} // namespace
} // namespace quillet::test
