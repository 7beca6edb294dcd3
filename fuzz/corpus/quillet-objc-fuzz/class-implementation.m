#import "ShoppingCart.h"

static NSString *const kItemsKey = @"items";

@interface ShoppingCart ()
@property (nonatomic, strong) NSMutableArray<OrderItem *> *mutableItems;
- (void)notifyObserverWithChange:(NSString *)change;
@end

@implementation ShoppingCart

+ (instancetype)cartWithItems:(NSArray<OrderItem *> *)items {
    return [[self alloc] initWithItems:items currency:@"EUR"];
}

- (instancetype)initWithItems:(NSArray<OrderItem *> *)items currency:(NSString *)currency {
    self = [super init];
    if (self) {
        _mutableItems = [items mutableCopy];
        [self setValue:currency forKey:@"currency"];
    }
    return self;
}

- (void)addItem:(OrderItem *)item quantity:(NSUInteger)quantity {
    for (NSUInteger i = 0; i < quantity; i++) {
        [self.mutableItems addObject:[item copyWithZone:nil]];
    }
    [self notifyObserverWithChange:[NSString stringWithFormat:@"added %@ x%lu", item.name, (unsigned long)quantity]];
}

- (NSDecimalNumber *)totalPriceIncludingTax:(BOOL)tax {
    NSDecimalNumber *sum = [NSDecimalNumber zero];
    for (OrderItem *item in self.mutableItems) {
        sum = [sum decimalNumberByAdding:item.price];
    }
    return tax ? [sum decimalNumberByMultiplyingBy:[NSDecimalNumber decimalNumberWithString:@"1.19"]] : sum;
}

- (void)notifyObserverWithChange:(NSString *)change {
    if ([self.observer respondsToSelector:@selector(cart:didChange:)]) {
        [self.observer cart:self didChange:change];
    }
}

- (id)copyWithZone:(NSZone *)zone {
    return [[[self class] allocWithZone:zone] initWithItems:self.items currency:@"EUR"];
}

+ (BOOL)supportsSecureCoding { return YES; }

- (void)encodeWithCoder:(NSCoder *)coder {
    [coder encodeObject:self.mutableItems forKey:kItemsKey];
}

@end
