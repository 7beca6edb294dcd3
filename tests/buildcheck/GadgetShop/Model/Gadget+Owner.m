#import "Gadget+Owner.h"
#import "Tracker.h"

@implementation GadgetKeeper
- (NSString *)ownerNameFor:(id)gadget {
    return [@"kept by " stringByAppendingString:[gadget label]];
}
@end

@implementation Gadget (Owner)
- (NSString *)ownedBy:(id<GadgetOwner>)owner {
    return [owner ownerNameFor:self];
}
- (NSString *)trackedBy:(id)tracker {
    return [NSString stringWithFormat:@"%@ tracked as %@", [self label], [(Tracker *)tracker trackedLabel]];
}
@end
