@implementation Broken
- (void)start:(int)a {
    [self go:a with:@"unterminated
    char c = 'q
    [[self outer:1] inner:(2];
    }}}
@end
/* a comment that never ends
- (void)hidden:(int)x { [self never:x]; }
