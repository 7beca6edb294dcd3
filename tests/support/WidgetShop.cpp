#include "support/WidgetShop.h"

namespace quillet::test {

namespace {

constexpr const char* xcodeProject = R"(// !$*UTF8*$!
{
	archiveVersion = 1;
	classes = {
	};
	objectVersion = 56;
	objects = {

/* Begin PBXBuildFile section */
		B1 /* Widget.m in Sources */ = {isa = PBXBuildFile; fileRef = F2 /* Widget.m */; };
		B2 /* Widget+Extras.m in Sources */ = {isa = PBXBuildFile; fileRef = F4 /* Widget+Extras.m */; };
		B3 /* AppDelegate.m in Sources */ = {isa = PBXBuildFile; fileRef = F6 /* AppDelegate.m */; };
/* End PBXBuildFile section */

/* Begin PBXFileReference section */
		F1 /* Widget.h */ = {isa = PBXFileReference; lastKnownFileType = sourcecode.c.h; path = Widget.h; sourceTree = "<group>"; };
		F2 /* Widget.m */ = {isa = PBXFileReference; lastKnownFileType = sourcecode.c.objc; path = Widget.m; sourceTree = "<group>"; };
		F3 /* Widget+Extras.h */ = {isa = PBXFileReference; lastKnownFileType = sourcecode.c.h; name = "Widget+Extras.h"; path = "Categories/Widget+Extras.h"; sourceTree = "<group>"; };
		F4 /* Widget+Extras.m */ = {isa = PBXFileReference; lastKnownFileType = sourcecode.c.objc; path = "Widget+Extras.m"; sourceTree = "<group>"; };
		F5 /* AppDelegate.h */ = {isa = PBXFileReference; lastKnownFileType = sourcecode.c.h; path = AppDelegate.h; sourceTree = "<group>"; };
		F6 /* AppDelegate.m */ = {isa = PBXFileReference; lastKnownFileType = sourcecode.c.objc; path = AppDelegate.m; sourceTree = "<group>"; };
		F7 /* Constants.h */ = {isa = PBXFileReference; lastKnownFileType = sourcecode.c.h; path = Constants.h; sourceTree = "<group>"; };
		F8 /* Foundation.framework */ = {isa = PBXFileReference; lastKnownFileType = wrapper.framework; name = Foundation.framework; path = System/Library/Frameworks/Foundation.framework; sourceTree = SDKROOT; };
/* End PBXFileReference section */

/* Begin PBXGroup section */
		G0 = {
			isa = PBXGroup;
			children = (
				G1 /* Models */,
				G2 /* Categories */,
				G3 /* App */,
				F3 /* Widget+Extras.h */,
				F8 /* Foundation.framework */,
			);
			sourceTree = "<group>";
		};
		G1 /* Models */ = {isa = PBXGroup; children = (F1 /* Widget.h */, F2 /* Widget.m */, ); path = Models; sourceTree = "<group>"; };
		G2 /* Categories */ = {isa = PBXGroup; children = (F4 /* Widget+Extras.m */, ); path = Categories; sourceTree = "<group>"; };
		G3 /* App */ = {isa = PBXGroup; children = (F5 /* AppDelegate.h */, F6 /* AppDelegate.m */, F7 /* Constants.h */, ); path = App; sourceTree = "<group>"; };
/* End PBXGroup section */

		P0 /* Project object */ = {isa = PBXProject; buildConfigurationList = C0; mainGroup = G0; projectDirPath = ""; projectRoot = ""; targets = ( ); };
	};
	rootObject = P0 /* Project object */;
}
)";

} // namespace

void writeWidgetShop(const TempDir& dir) {
    dir.write("Models/Widget.h", "#import <Foundation/Foundation.h>\n@interface Widget : NSObject\n"
                                 "- (int)widgetCountFor:(int)base;\n@end\n");
    dir.write("Models/Widget.m", "#import \"Widget.h\"\n@implementation Widget\n"
                                 "- (int)widgetCountFor:(int)base {\n    return base + 1;\n}\n"
                                 "@end\n");
    dir.write("Categories/Widget+Extras.h",
              "#import \"../Models/Widget.h\"\n@interface Widget (Extras)\n"
              "- (int)extraCountFor:(int)base;\n@end\n");
    dir.write("Categories/Widget+Extras.m",
              "#import \"Widget+Extras.h\"\n@implementation Widget (Extras)\n"
              "- (int)extraCountFor:(int)base {\n    return [self widgetCountFor:base] * 2;\n}\n"
              "@end\n");
    dir.write("App/Constants.h", "#define kStartCount 3\n");
    dir.write("App/AppDelegate.h",
              "#import <Foundation/Foundation.h>\n@interface AppDelegate : NSObject\n"
              "- (int)startWithCount:(int)count;\n@end\n");
    dir.write("App/AppDelegate.m",
              "#import \"AppDelegate.h\"\n#import \"Constants.h\"\n#import \"Widget.h\"\n"
              "#import \"Models/Widget.h\"\n#import \"../Categories/Widget+Extras.h\"\n"
              "#import <Categories/Widget+Extras.h>\n@implementation AppDelegate\n"
              "- (int)startWithCount:(int)count {\n"
              "    return [[Widget new] extraCountFor:count + kStartCount];\n}\n@end\n");
    dir.write("Shop.xcodeproj/project.pbxproj", xcodeProject);
}

RunOptions classRunOf(const TempDir& dir) {
    RunOptions options;
    options.project = dir.str();
    options.classPrefix = "Zq";
    options.kinds.add(NameKind::classes);
    return options;
}

} // namespace quillet::test
