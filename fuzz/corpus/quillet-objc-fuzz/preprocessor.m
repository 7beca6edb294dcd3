#import <UIKit/UIKit.h>
#include "Config.h"
#pragma mark - The shop's helpers
#define LOG_CALL(x) [Logger logCall:(x) file:@__FILE__ line:__LINE__]
#define MULTI_LINE(a, b) \
    [a combineWith:b \
           options:0]

#if 0
It's disabled: [this isNot:code] and an apostrophe's fine here.
#endif

@implementation Shop

#if TARGET_OS_IOS
- (void)present:(UIViewController *)controller {
#else
- (void)present:(NSViewController *)controller {
#endif
    LOG_CALL(@"present");
    [self.window showController:controller animated:YES];
}

#ifdef DEBUG
- (void)dumpState:(BOOL)verbose { NSLog(@"%@", [self debugDescriptionVerbose:verbose]); }
#elif defined(BETA)
- (void)dumpState:(BOOL)verbose { [self sendStateToServer:verbose]; }
#endif

@end
