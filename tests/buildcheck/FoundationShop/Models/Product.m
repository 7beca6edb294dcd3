#import "Product.h"
#import "Categories/NSString+Shop.h"
#import "Shared/ShopDefines.h"

@implementation Product

+ (instancetype)productWithName:(NSString *)name price:(NSInteger)priceCents {
    return [[[self alloc] initWithName:name price:priceCents] autorelease];
}

- (instancetype)initWithName:(NSString *)name price:(NSInteger)priceCents {
    self = [super init];
    if (self) {
        [self configureWithName:name price:priceCents];
    }
    return self;
}

- (void)dealloc {
    [_name release];
    [super dealloc];
}

- (void)configureWithName:(NSString *)name price:(NSInteger)priceCents {
    self.name = name;
    self.priceCents = priceCents;
}

- (NSString *)displayNameWithLimit:(NSUInteger)limit {
    return [self.name shopTrimmedToLength:limit];
}

- (BOOL)isEqual:(id)other {
    if (other == self) {
        return YES;
    }
    if (![other isKindOfClass:[Product class]]) {
        return [super isEqual:other];
    }
    Product *product = other;
    return [self.name isEqualToString:product.name] && self.priceCents == product.priceCents;
}

- (NSUInteger)hash {
    return [self.name hash] ^ (NSUInteger)self.priceCents;
}

- (id)copyWithZone:(NSZone *)zone {
    Product *copy = [[[self class] allocWithZone:zone] init];
    [copy configureWithName:self.name price:self.priceCents];
    return copy;
}

- (NSString *)description {
    return [NSString stringWithFormat:@"<%@ %@ %@>", NSStringFromClass([self class]),
                                      [self displayNameWithLimit:24], SHOP_PRICE(self.priceCents)];
}

@end
