#import "Cart.h"
#import "NSString+Price.h"

@interface Cart ()
@property (nonatomic, strong) NSMutableArray<Product *> *items;
@property (nonatomic, strong) NSMutableDictionary<NSString *, NSNumber *> *quantities;
@end

@implementation Cart

- (instancetype)init {
    self = [super init];
    if (self) {
        _items = [NSMutableArray array];
        _quantities = [NSMutableDictionary dictionary];
    }
    return self;
}

- (NSArray<Product *> *)products {
    return [self.items copy];
}

- (void)addProduct:(Product *)product quantity:(NSInteger)quantity {
    if (quantity <= 0) {
        return;
    }
    if (![self.items containsObject:product]) {
        [self.items addObject:product];
    }
    self.quantities[product.name] = @([self quantityOfProduct:product] + quantity);
}

- (void)removeProduct:(Product *)product {
    [self.items removeObject:product];
    [self.quantities removeObjectForKey:product.name];
}

- (NSInteger)quantityOfProduct:(Product *)product {
    return [self.quantities[product.name] integerValue];
}

- (double)totalPriceWithTaxRate:(double)taxRate
                    shippingFee:(double)shippingFee
                 includeDiscount:(BOOL)includeDiscount
{
    double total = 0;
    for (Product *product in self.items) {
        double price = includeDiscount ? [product discountedPrice] : product.price;
        total += price * [self quantityOfProduct:product];
    }
    return total * (1 + taxRate) + shippingFee;
}

- (void)checkoutWithCompletion:(void (^)(BOOL success))completion {
    double total = [self totalPriceWithTaxRate:0.08 shippingFee:4.99 includeDiscount:YES];
    NSLog(@"Checking out %@", [NSString priceStringWithAmount:total currencyCode:@"USD"]);
    [self clear];
    if (completion) {
        completion(YES);
    }
}

- (void)clear {
    [self.items removeAllObjects];
    [self.quantities removeAllObjects];
}

@end
