#import "Cart.h"
#import "Product.h"
#import "Shared/ShopDefines.h"
#import "Categories/NSString+Shop.h"

@interface Cart ()
@property (nonatomic, retain) NSMutableArray *products;
@property (nonatomic, retain) NSMutableArray *quantities;
@end

@implementation Cart

- (instancetype)init {
    self = [super init];
    if (self) {
        _products = [[NSMutableArray alloc] init];
        _quantities = [[NSMutableArray alloc] init];
    }
    return self;
}

- (void)dealloc {
    [_products release];
    [_quantities release];
    [super dealloc];
}

- (NSUInteger)count {
    return [self.products count];
}

- (void)addProduct:(Product *)product quantity:(NSUInteger)quantity {
    NSUInteger index = [self.products indexOfObject:product];
    if (index == NSNotFound) {
        [self.products addObject:product];
        [self.quantities addObject:@(quantity)];
        return;
    }
    self.quantities[index] = @([self.quantities[index] unsignedIntegerValue] + quantity);
}

- (void)removeProductAtIndex:(NSUInteger)index {
    [self.products removeObjectAtIndex:index];
    [self.quantities removeObjectAtIndex:index];
}

- (NSUInteger)quantityOfProductAtIndex:(NSUInteger)index {
    return [self.quantities[index] unsignedIntegerValue];
}

- (NSArray *)allProducts {
    return [[self.products copy] autorelease];
}

- (void)enumerateProductsUsingBlock:(void (^)(Product *product, NSUInteger quantity,
                                             BOOL *stop))block {
    [self.products enumerateObjectsUsingBlock:^(id object, NSUInteger index, BOOL *stop) {
        block(object, [self quantityOfProductAtIndex:index], stop);
    }];
}

- (NSString *)shopSummaryWithCurrency:(NSString *)currency {
    __block NSInteger cents = 0;
    [self enumerateProductsUsingBlock:^(Product *product, NSUInteger quantity, BOOL *stop) {
        cents += product.priceCents * (NSInteger)quantity;
    }];
    return [NSString stringWithFormat:@"cart: %lu line(s), %@", (unsigned long)self.count,
                                      [NSString shopPriceStringWithCents:cents
                                                                currency:currency ?: SHOP_DEFAULT_CURRENCY]];
}

- (id)objectAtIndexedSubscript:(NSUInteger)index {
    return self.products[index];
}

- (void)setObject:(id)product atIndexedSubscript:(NSUInteger)index {
    if (index == [self.products count]) {
        [self addProduct:product quantity:1];
    } else {
        self.products[index] = product;
    }
}

- (id)objectForKeyedSubscript:(id)key {
    for (Product *product in self.products) {
        if ([product.name isEqualToString:key]) {
            return product;
        }
    }
    return nil;
}

@end
