#import "Gadget.h"

@implementation Gadget
- (NSString *)label {
    return _label;
}
- (void)setLabel:(NSString *)label {
    _label = [label copy];
}
- (NSString *)describeWith:(NSString *)suffix {
    return [NSString stringWithFormat:@"%@-%@", [self label], suffix];
}
+ (Gadget *)gadgetLabelled:(NSString *)label {
    Gadget *gadget = [[self alloc] init];
    [gadget setLabel:label];
    return gadget;
}
@end

@implementation SmartGadget
- (NSString *)describeWith:(NSString *)suffix {
    return [@"smart " stringByAppendingString:[super describeWith:suffix]];
}
@end

@implementation Keepsake
- (NSString *)memo {
    return _memo;
}
- (void)setMemo:(NSString *)memo {
    _memo = [memo copy];
}
- (id)initWithCoder:(NSCoder *)coder {
    if ((self = [super init])) {
        _memo = [[coder decodeObject] copy];
    }
    return self;
}
- (void)encodeWithCoder:(NSCoder *)coder {
    [coder encodeObject:_memo];
}
@end
