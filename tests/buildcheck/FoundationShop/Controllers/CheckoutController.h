#import <Foundation/Foundation.h>
#import "Shared/ShopDefines.h"

@class Cart;
@class Order;
@class OrderStore;

// File's Owner of Checkout.xib; the button there sends checkoutTapped:.
@interface CheckoutController : NSObject

@property (nonatomic, retain) Cart *cart;
@property (nonatomic, retain) OrderStore *store;
@property (nonatomic, copy) NSString *pendingCoupon;
@property (nonatomic, assign, getter=isBulkOrder) BOOL bulkOrder;

- (instancetype)initWithStore:(OrderStore *)store;

- (IBAction)checkoutTapped:(id)sender;
- (void)applyCouponCode:(NSString *)code;
- (void)addProductNamed:(NSString *)name price:(NSInteger)priceCents bulkQuantity:(NSUInteger)bulk;
- (NSInteger)shippingCentsForOrder:(Order *)order;
- (void)printRecentOrdersWithLimit:(NSUInteger)limit;

@end
