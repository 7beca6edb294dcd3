#import <Foundation/Foundation.h>
#import "Models/Order.h"

@class OrderStore;

@protocol OrderStoreDelegate <NSObject>

- (void)orderStore:(OrderStore *)store didAddOrder:(Order *)order;

@optional
- (void)orderStore:(OrderStore *)store didRemoveOrder:(Order *)order;
- (void)orderStoreDidReload:(OrderStore *)store;

@end

typedef BOOL (^OrderFilter)(Order *order);

@interface OrderStore : NSObject

@property (nonatomic, assign) id<OrderStoreDelegate> delegate;
@property (nonatomic, readonly) NSArray *orders;

- (void)addOrder:(Order *)order;
- (void)removeOrder:(Order *)order;
- (NSArray *)ordersMatchingFilter:(OrderFilter)filter;
- (void)fetchOrdersWithLimit:(NSUInteger)limit
                  completion:(void (^)(NSArray *orders, NSError *error))completion;
- (void)reloadWithOrders:(NSArray *)orders;

@end
