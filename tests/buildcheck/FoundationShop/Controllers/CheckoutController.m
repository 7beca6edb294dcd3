#import "CheckoutController.h"
#import "Models/Cart.h"
#import "Models/DigitalProduct.h"
#import "Services/OrderStore.h"
#import "Categories/NSString+Shop.h"

@implementation CheckoutController {
    NSUInteger _orderCounter;
}

- (instancetype)initWithStore:(OrderStore *)store {
    self = [super init];
    if (self) {
        _store = [store retain];
        _cart = [[Cart alloc] init];
    }
    return self;
}

- (void)dealloc {
    [_cart release];
    [_store release];
    [_pendingCoupon release];
    [super dealloc];
}

- (void)addProductNamed:(NSString *)name price:(NSInteger)priceCents bulkQuantity:(NSUInteger)bulk {
    Product *product = [Product productWithName:name price:priceCents];
    [self.cart addProduct:product quantity:self.isBulkOrder ? bulk : 1];
}

- (void)applyCouponCode:(NSString *)code {
    /* Older builds called [self.cart removeProductAtIndex:0] here for "[FREEBIE]". */
    self.pendingCoupon = [code shopLooksLikeCouponCode] ? [code uppercaseString] : nil;
}

- (NSInteger)shippingCentsForOrder:(Order *)order {
    BOOL onlyDownloads = YES;
    for (Product *product in order.products) {
        onlyDownloads = onlyDownloads && [product isKindOfClass:[DigitalProduct class]];
    }
    return onlyDownloads ? 0 : ([order subtotalCents] > 5000 ? 0 : 499);
}

- (IBAction)checkoutTapped:(id)sender {
    if (self.cart.count == 0) {
        NSLog(@"[checkout] empty cart, nothing to do // sender: %@", sender);
        return;
    }
    // The coupon arrives as text from a deep link, so it is applied by name.
    SEL applyCoupon = NSSelectorFromString(@"applyCouponCode:");
    if (self.pendingCoupon && [self respondsToSelector:applyCoupon]) {
        [self performSelector:applyCoupon withObject:self.pendingCoupon];
    }

    NSString *identifier =
        [NSString stringWithFormat:@"FS-%04lu", (unsigned long)++_orderCounter];
    Order *order = [[[Order alloc] initWithIdentifier:identifier
                                             products:[self.cart allProducts]] autorelease];
    order.couponCode = self.pendingCoupon;
    double total = [order totalWithTaxRate:0.2
                                  discount:(self.pendingCoupon ? 0.1 : 0.0)
                             shippingCents:[self shippingCentsForOrder:order]];
    [self.store addOrder:order];
    NSLog(@"%@ total %@", [[order shopSummaryWithCurrency:nil] shopTrimmedToLength:40],
          SHOP_PRICE((NSInteger)total));
    while (self.cart.count > 0) {
        [self.cart removeProductAtIndex:self.cart.count - 1];
    }
}

- (void)printRecentOrdersWithLimit:(NSUInteger)limit {
    [self.store fetchOrdersWithLimit:limit
                          completion:^(NSArray *orders, NSError *error) {
                              if (error) {
                                  NSLog(@"%@", [error localizedDescription]);
                                  return;
                              }
                              for (Order *order in orders) {
                                  NSLog(@"%@", [[order identifier]
                                                   shopPaddedToWidth:10
                                                       withCharacter:'.']);
                              }
                          }];
}

@end
