#import "Tracker.h"

@implementation Tracker
@synthesize trackedLabel = _trackedLabel;
@synthesize active = _active;
@synthesize changes = _changes;

- (void)startWatching {
    [self addObserver:self forKeyPath:@"trackedLabel" options:NSKeyValueObservingOptionNew context:NULL];
}

- (void)stopWatching {
    [self removeObserver:self forKeyPath:@"trackedLabel"];
}

- (void)relabel:(NSString *)label {
    [self setValue:label forKey:@"trackedLabel"];
}

- (void)observeValueForKeyPath:(NSString *)keyPath
                      ofObject:(id)object
                        change:(NSDictionary *)change
                       context:(void *)context {
    if ([keyPath isEqualToString:@"trackedLabel"]) {
        _changes++;
    }
}
@end
