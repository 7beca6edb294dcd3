// Key-value coding and Core Data call accessors named after a key: they keep their names when
// the key is one of the project's properties or instance variables, and only then.
#include <gtest/gtest.h>

#include "support/PreciseProject.h"

namespace quillet::test {
namespace {

constexpr const char* runtime = "called by the runtime by name";

TEST(CoreData, AccessorsOfARelationshipKeepTheirNames) {
    PreciseProject project;
    auto& dir = project.dir();
    // Core Data generates the to-many accessors of @dynamic items at run time, by these names.
    dir.write("Basket.h", "@interface Basket : NSManagedObject\n"
                          "@property (nonatomic, retain) NSSet *items;\n@end\n"
                          "@interface Basket (CoreDataGeneratedAccessors)\n"
                          "- (void)addItemsObject:(id)v;\n- (void)removeItemsObject:(id)v;\n"
                          "- (void)addItems:(NSSet *)v;\n- (void)removeItems:(NSSet *)v;\n"
                          "- (void)fillWith:(id)v;\n@end\n");
    dir.write("Basket.m", "#import \"Basket.h\"\n@implementation Basket\n@dynamic items;\n"
                          "- (void)fillWith:(id)v { [self addItemsObject:v]; [self addItems:v]; }\n"
                          "@end\n");
    // An instance variable is a key too.
    dir.write("Queue.h", "@interface Queue : NSObject { NSMutableArray *_entries; }\n"
                         "- (void)insertObject:(id)o inEntriesAtIndex:(NSUInteger)i;\n"
                         "- (void)insertObject:(id)o inTasksAtIndex:(NSUInteger)i;\n@end\n");
    dir.write("Queue.m", "#import \"Queue.h\"\n@implementation Queue\n"
                         "- (void)insertObject:(id)o inEntriesAtIndex:(NSUInteger)i {}\n"
                         "- (void)insertObject:(id)o inTasksAtIndex:(NSUInteger)i {}\n@end\n"
                         "void fill(Queue *q, Basket *b) { [q insertObject:b inTasksAtIndex:0]; "
                         "[b fillWith:q]; }\n");
    // Shaped like accessors, but no property is named SetOfKeys, OrUpdate or Tasks.
    // Nor is Entries a key of Ledger: Queue's instance variable is no key of another class.
    dir.write("Ledger.h", "@interface Ledger : NSObject\n- (void)addOrUpdateObject:(id)o;\n"
                          "- (void)intersectSetOfKeys:(id)k;\n- (void)addEntries:(id)k;\n@end\n"
                          "@interface Special : Basket\n- (void)addItems:(id)v;\n@end\n");
    dir.write("Ledger.m", "#import \"Ledger.h\"\n@implementation Ledger\n"
                          "- (void)addOrUpdateObject:(id)o { [self intersectSetOfKeys:o]; }\n"
                          "- (void)intersectSetOfKeys:(id)k {}\n- (void)addEntries:(id)k {}\n"
                          "@end\n@implementation Special\n- (void)addItems:(id)v {}\n@end\n");

    ASSERT_TRUE(project.scan());
    for (const char* selector : {"addItemsObject:", "removeItemsObject:", "addItems:",
                                 "removeItems:", "insertObject:inEntriesAtIndex:"}) {
        EXPECT_EQ(project.verdict(selector), runtime) << selector;
    }
    for (const char* selector : {"fillWith:", "addOrUpdateObject:", "intersectSetOfKeys:",
                                 "insertObject:inTasksAtIndex:", "addEntries:"}) {
        EXPECT_EQ(project.verdict(selector), "rename") << selector;
    }

    project.renameAll();
    const std::string basket = project.read("Basket.m");
    EXPECT_NE(basket.find("[self addItemsObject:v]; [self addItems:v];"), std::string::npos);
    EXPECT_EQ(basket.find("fillWith"), std::string::npos);
    const std::string ledger = project.read("Ledger.m");
    EXPECT_EQ(ledger.find("addOrUpdateObject"), std::string::npos);
    EXPECT_EQ(ledger.find("intersectSetOfKeys"), std::string::npos);
    EXPECT_EQ(project.read("Ledger.h").find("intersectSetOfKeys"), std::string::npos);
}

} // namespace
} // namespace quillet::test
