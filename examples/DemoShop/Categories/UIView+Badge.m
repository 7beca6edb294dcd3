#import "UIView+Badge.h"

static NSInteger const BadgeTag = 9001;

@implementation UIView (Badge)

- (void)showBadgeWithCount:(NSInteger)count animated:(BOOL)animated {
    UILabel *badge = (UILabel *)[self viewWithTag:BadgeTag];
    if (!badge) {
        badge = [[UILabel alloc] initWithFrame:CGRectMake(CGRectGetWidth(self.bounds) - 10, -8, 18, 18)];
        badge.tag = BadgeTag;
        badge.backgroundColor = [UIColor systemRedColor];
        badge.textColor = [UIColor whiteColor];
        badge.textAlignment = NSTextAlignmentCenter;
        badge.layer.cornerRadius = 9;
        badge.clipsToBounds = YES;
        [self addSubview:badge];
    }
    badge.text = [NSString stringWithFormat:@"%ld", (long)count];
    badge.alpha = animated ? 0 : 1;
    [UIView animateWithDuration:animated ? 0.25 : 0
                     animations:^{
        badge.alpha = 1;
    }];
}

- (void)hideBadge {
    [[self viewWithTag:BadgeTag] removeFromSuperview];
}

@end
