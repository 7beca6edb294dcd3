// A Foundation program that looks its classes and protocols up by name, checks conformance,
// archives an object and reads it back: it prints the same before and after a rename.
#import <Foundation/Foundation.h>

@protocol GadgetOwner <NSObject>
- (NSString *)ownerNameFor:(id)gadget;
@end

@interface Gadget : NSObject {
    NSString *_label;
}
- (NSString *)label;
- (void)setLabel:(NSString *)label;
- (NSString *)describeWith:(NSString *)suffix;
+ (Gadget *)gadgetLabelled:(NSString *)label;
@end

@interface SmartGadget : Gadget
@end

// Saved by the last release under this name: it must keep it.
@interface Keepsake : NSObject <NSCoding> {
    NSString *_memo;
}
- (NSString *)memo;
- (void)setMemo:(NSString *)memo;
@end
