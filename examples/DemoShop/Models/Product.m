#import "Product.h"

@implementation Product

+ (instancetype)productWithName:(NSString *)name price:(double)price {
    return [[self alloc] initWithName:name price:price];
}

- (instancetype)initWithName:(NSString *)name price:(double)price {
    self = [super init];
    if (self) {
        _name = [name copy];
        _price = price;
    }
    return self;
}

- (void)setDiscount:(double)discount {
    _discount = MAX(0, MIN(discount, 1));
}

- (double)discountedPrice {
    return round(self.price * (1 - self.discount) * 100) / 100;
}

- (BOOL)isCheaperThan:(Product *)other {
    return [self discountedPrice] < [other discountedPrice];
}

@end
