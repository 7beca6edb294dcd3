#import "Gadget.h"

@interface GadgetKeeper : NSObject <GadgetOwner>
@end

@interface Gadget (Owner)
- (NSString *)ownedBy:(id<GadgetOwner>)owner;
- (NSString *)trackedBy:(id)tracker;
@end
