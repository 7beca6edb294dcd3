#import "Order.h"
#import "Product.h"
#import "Categories/NSString+Shop.h"

@implementation Order

- (instancetype)initWithIdentifier:(NSString *)identifier products:(NSArray *)products {
    self = [super init];
    if (self) {
        _identifier = [identifier copy];
        _products = [products retain];
        _status = OrderStatusOpen;
    }
    return self;
}

- (void)dealloc {
    [_identifier release];
    [_products release];
    [_couponCode release];
    [super dealloc];
}

- (NSInteger)subtotalCents {
    NSInteger sum = 0;
    for (Product *product in self.products) {
        sum += product.priceCents;
    }
    return sum;
}

- (double)totalWithTaxRate:(double)taxRate
                  discount:(double)discount
             shippingCents:(NSInteger)shippingCents {
    double net = [self subtotalCents] * (1.0 - discount);
    return net * (1.0 + taxRate) + shippingCents;
}

- (NSString *)shopSummaryWithCurrency:(NSString *)currency {
    NSString *total = [NSString shopPriceStringWithCents:[self subtotalCents]
                                                currency:currency ?: @"EUR"];
    return [NSString stringWithFormat:@"%@: %lu item(s), %@", self.identifier,
                                      (unsigned long)[self.products count], total];
}

- (BOOL)containsProductNamed:(NSString *)name {
    for (Product *product in self.products) {
        if ([product.name isEqualToString:name]) {
            return YES;
        }
    }
    return NO;
}

@end
