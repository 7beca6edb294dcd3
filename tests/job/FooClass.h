#pragma once

#include <string>

namespace quillet::test {

// A class of two methods, one sending the other: the smallest project a run renames.
inline const std::string fooHeader = "@interface Foo : NSObject\n"
                                     "- (void)fooWithName:(NSString *)name count:(int)count;\n"
                                     "- (void)store:(id)item;\n@end\n";
inline const std::string fooSource = "#import \"Foo.h\"\n@implementation Foo\n"
                                     "- (void)fooWithName:(NSString *)name count:(int)count {\n"
                                     "    [self store:name];\n}\n"
                                     "- (void)store:(id)item {}\n@end\n";

} // namespace quillet::test
