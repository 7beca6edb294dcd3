// Methods the project declares or overrides but a framework implements or calls keep their
// names: renaming them only cuts the project off from the framework.
#include <gtest/gtest.h>

#include "support/PreciseProject.h"

namespace quillet::test {
namespace {

TEST(FrameworkMethods, WhatOnlyAFrameworkImplementsOrCallsKeepsItsName) {
    PreciseProject project;
    auto& dir = project.dir();
    // Declared to call a framework's private method; the project never defines it.
    dir.write("Spinner.h", "@interface UIView (Private)\n- (void)_setAnimates:(BOOL)on;\n@end\n"
                           "@interface Spinner : UIView\n- (void)_layoutRing:(int)n;\n"
                           "- (void)willDrawRing:(int)n;\n- (void)spinWithSpeed:(int)s;\n"
                           "- (void)unusedHelper:(int)n;\n- (void)ringTapped:(id)sender;\n"
                           "+ (instancetype)spinnerWithColor:(id)c;\n@end\n");
    dir.write("Spinner.m", "#import \"Spinner.h\"\n@implementation Spinner\n"
                           "- (void)_layoutRing:(int)n { [self _setAnimates:YES]; }\n"
                           "- (void)willDrawRing:(int)n {}\n"
                           "- (void)spinWithSpeed:(int)s {}\n- (void)ringTapped:(id)sender {}\n"
                           "+ (instancetype)spinnerWithColor:(id)c { return nil; }\n"
                           "@end\n"
                           "void start(Spinner *s) { [s spinWithSpeed:2]; }\n");
    // An action only an old interface file connects: the project refers to it there.
    dir.write("Spinner.nib/classes.nib", "{IBClasses = ({ACTIONS = {ringTapped = id; }; "
                                         "CLASS = Spinner; SUPERCLASS = UIView; });}\n");
    // A class of the project's own on the root class: nothing outside calls its methods.
    dir.write("Model.h", "@interface Model : NSObject\n- (void)_cacheRows:(int)n;\n"
                         "- (void)neverCalled:(int)n;\n@end\n");
    dir.write("Model.m", "#import \"Model.h\"\n@implementation Model\n"
                         "- (void)_cacheRows:(int)n {}\n- (void)neverCalled:(int)n {}\n@end\n");

    ASSERT_TRUE(project.scan());
    EXPECT_EQ(project.verdict("_setAnimates:"),
              "implemented outside the project: declared for UIView, which the project does not "
              "implement");
    EXPECT_EQ(project.verdict("_layoutRing:"),
              "private framework method: Spinner inherits it from UIView");
    EXPECT_EQ(project.verdict("willDrawRing:"),
              "private framework method: Spinner overrides it for UIView, and nothing in the "
              "project calls it");
    // Declared but never defined, for a class the project implements: still the project's.
    EXPECT_EQ(project.verdict("unusedHelper:"), "rename");
    EXPECT_EQ(project.verdict("spinWithSpeed:"), "rename");
    EXPECT_EQ(project.verdict("ringTapped:"), "rename");
    // A library's own factory, unused here: a framework calls no such class method.
    EXPECT_EQ(project.verdict("spinnerWithColor:"), "rename");
    EXPECT_EQ(project.verdict("_cacheRows:"), "rename");
    EXPECT_EQ(project.verdict("neverCalled:"), "rename");

    project.renameAll();
    const std::string spinner = project.read("Spinner.m");
    EXPECT_NE(spinner.find("[self _setAnimates:YES]"), std::string::npos);
    EXPECT_NE(spinner.find("- (void)willDrawRing:(int)n {}"), std::string::npos);
    EXPECT_EQ(spinner.find("spinWithSpeed"), std::string::npos);
}

} // namespace
} // namespace quillet::test
