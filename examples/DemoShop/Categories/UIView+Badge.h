#import <UIKit/UIKit.h>

@interface UIView (Badge)

- (void)showBadgeWithCount:(NSInteger)count animated:(BOOL)animated;
- (void)hideBadge;

@end
