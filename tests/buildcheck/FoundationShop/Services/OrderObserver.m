// Saved with Windows line ends by a contributor's editor; leave them.

#import "OrderObserver.h"
#import "Categories/NSString+Shop.h"

static void *OrderStatusContext = &OrderStatusContext;

@implementation OrderObserver

- (instancetype)init {
    self = [super init];
    if (self) {
        _events = [[NSMutableArray alloc] init];
    }
    return self;
}

- (void)dealloc {
    [_events release];
    [super dealloc];
}

- (void)startObservingOrder:(Order *)order {
    [order addObserver:self
            forKeyPath:@"status"
               options:NSKeyValueObservingOptionNew | NSKeyValueObservingOptionOld
               context:OrderStatusContext];
}

- (void)stopObservingOrder:(Order *)order {
    [order removeObserver:self forKeyPath:@"status"];
}

- (NSString *)lastEventWithPrefix:(NSString *)prefix {
    for (NSString *event in [self.events reverseObjectEnumerator]) {
        if ([event hasPrefix:prefix]) {
            return event;
        }
    }
    return nil;
}

- (void)observeValueForKeyPath:(NSString *)keyPath
                      ofObject:(id)object
                        change:(NSDictionary *)change
                       context:(void *)context {
    if (context != OrderStatusContext) {
        [super observeValueForKeyPath:keyPath ofObject:object change:change context:context];
        return;
    }
    NSNumber *old = change[NSKeyValueChangeOldKey];
    NSNumber *new = change[NSKeyValueChangeNewKey];
    [self.events addObject:[NSString stringWithFormat:@"status %@: %@ -> %@",
                                                      [object identifier], old, new]];
}

#pragma mark - OrderStoreDelegate

- (void)orderStore:(OrderStore *)store didAddOrder:(Order *)order {
    // e.g. [store addOrder:x] from a checkout; x is already in store.orders here.
    [self.events addObject:[@"added " stringByAppendingString:order.identifier]];
    [self startObservingOrder:order];
}

- (void)orderStore:(OrderStore *)store didRemoveOrder:(Order *)order {
    [self stopObservingOrder:order];
    [self.events
        addObject:[NSString stringWithFormat:@"removed %@ (%lu left)", order.identifier,
                                             (unsigned long)[store.orders count]]];
}

@end
