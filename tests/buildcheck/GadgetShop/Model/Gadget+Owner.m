#import "Gadget+Owner.h"

@implementation GadgetKeeper
- (NSString *)ownerNameFor:(id)gadget {
    return [@"kept by " stringByAppendingString:[gadget label]];
}
@end

@implementation Gadget (Owner)
- (NSString *)ownedBy:(id<GadgetOwner>)owner {
    return [owner ownerNameFor:self];
}
@end
