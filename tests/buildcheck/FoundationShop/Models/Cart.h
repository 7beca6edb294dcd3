#import <Foundation/Foundation.h>

@class Product;

@interface Cart : NSObject

@property (nonatomic, readonly) NSUInteger count;

- (void)addProduct:(Product *)product quantity:(NSUInteger)quantity;
- (void)removeProductAtIndex:(NSUInteger)index;
- (NSUInteger)quantityOfProductAtIndex:(NSUInteger)index;
- (NSArray *)allProducts;
- (void)enumerateProductsUsingBlock:(void (^)(Product *product, NSUInteger quantity,
                                             BOOL *stop))block;
- (NSString *)shopSummaryWithCurrency:(NSString *)currency;

// cart[0], cart[0] = product, cart[@"Mug"]
- (id)objectAtIndexedSubscript:(NSUInteger)index;
- (void)setObject:(id)product atIndexedSubscript:(NSUInteger)index;
- (id)objectForKeyedSubscript:(id)key;

@end
