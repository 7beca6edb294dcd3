#import <Foundation/Foundation.h>
#import "Services/OrderStore.h"

// Keeps a running log of what happens to orders: store events through the
// delegate, status changes through key-value observing.
@interface OrderObserver : NSObject <OrderStoreDelegate>

@property (nonatomic, retain, readonly) NSMutableArray *events;

- (void)startObservingOrder:(Order *)order;
- (void)stopObservingOrder:(Order *)order;
- (NSString *)lastEventWithPrefix:(NSString *)prefix;

- (void)observeValueForKeyPath:(NSString *)keyPath
                      ofObject:(id)object
                        change:(NSDictionary *)change
                       context:(void *)context;

@end
