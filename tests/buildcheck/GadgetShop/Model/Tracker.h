#import <Foundation/Foundation.h>

// Watches its own label by key-value observing and counts the changes. The count is read by
// key from outside and the flag has a getter of its own name: both keep their names.
@interface Tracker : NSObject {
    NSString *_trackedLabel;
    BOOL _active;
    int _changes;
}
@property (nonatomic, copy) NSString *trackedLabel;
@property (nonatomic, assign, getter=isActive) BOOL active;
@property (nonatomic, readonly) int changes;
- (void)startWatching;
- (void)stopWatching;
- (void)relabel:(NSString *)label;
@end
