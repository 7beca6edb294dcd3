#import <Foundation/Foundation.h>
#import "Product.h"

@interface Cart : NSObject

@property (nonatomic, readonly) NSArray<Product *> *products;

- (void)addProduct:(Product *)product quantity:(NSInteger)quantity;
- (void)removeProduct:(Product *)product;
- (NSInteger)quantityOfProduct:(Product *)product;
/**
 * The total with tax and an optional shipping fee, in the shop's currency.
 */
- (double)totalPriceWithTaxRate:(double)taxRate
                    shippingFee:(double)shippingFee
                 includeDiscount:(BOOL)includeDiscount;
- (void)checkoutWithCompletion:(void (^)(BOOL success))completion;
- (void)clear;

@end
