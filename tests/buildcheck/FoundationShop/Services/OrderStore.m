#import "OrderStore.h"
#import "Shared/ShopDefines.h"

@implementation OrderStore {
    NSMutableArray *_orders;
}

- (instancetype)init {
    self = [super init];
    if (self) {
        _orders = [[NSMutableArray alloc] init];
    }
    return self;
}

- (void)dealloc {
    [_orders release];
    [super dealloc];
}

- (NSArray *)orders {
    return [[_orders copy] autorelease];
}

- (void)addOrder:(Order *)order {
    [_orders addObject:order];
    SHOP_LOG_ORDER(order);
    [self.delegate orderStore:self didAddOrder:order];
}

- (void)removeOrder:(Order *)order {
    [order retain]; // the delegate still gets to look at it
    [_orders removeObject:order];
    if ([self.delegate respondsToSelector:@selector(orderStore:didRemoveOrder:)]) [self.delegate orderStore:self didRemoveOrder:order];
    [order release];
}

- (NSArray *)ordersMatchingFilter:(OrderFilter)filter {
    NSMutableArray *matches = [NSMutableArray array];
    for (Order *order in _orders) {
        if (filter(order)) {
            [matches addObject:order];
        }
    }
    return matches;
}

- (void)fetchOrdersWithLimit:(NSUInteger)limit
                  completion:(void (^)(NSArray *orders, NSError *error))completion {
    // No network here: the "fetch" reads what is in memory, newest first.
    NSArray *newestFirst = [[_orders reverseObjectEnumerator] allObjects];
    if ([newestFirst count] > limit) {
        newestFirst = [newestFirst subarrayWithRange:NSMakeRange(0, limit)];
    }
    NSError *error = nil;
    if ([newestFirst count] == 0) {
        error = [NSError errorWithDomain:@"FoundationShop.OrderStore"
                                    code:404
                                userInfo:@{NSLocalizedDescriptionKey : @"no orders [yet]"}];
    }
    completion(newestFirst, error);
}

- (void)reloadWithOrders:(NSArray *)orders {
    [_orders setArray:orders ?: @[]];
    if ([self.delegate respondsToSelector:@selector(orderStoreDidReload:)]) {
        [self.delegate orderStoreDidReload:self];
    }
}

@end
