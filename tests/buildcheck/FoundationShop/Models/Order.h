#import <Foundation/Foundation.h>

@class Product;

typedef NS_ENUM(NSInteger, OrderStatus) {
    OrderStatusOpen,
    OrderStatusPaid,
    OrderStatusShipped,
};

@interface Order : NSObject

@property (nonatomic, copy, readonly) NSString *identifier;
@property (nonatomic, retain, readonly) NSArray *products;
@property (nonatomic, assign) OrderStatus status; // observed with KVO
@property (nonatomic, copy) NSString *couponCode;

- (instancetype)initWithIdentifier:(NSString *)identifier products:(NSArray *)products;

- (NSInteger)subtotalCents;
- (double)totalWithTaxRate:(double)taxRate
                  discount:(double)discount
             shippingCents:(NSInteger)shippingCents;
- (NSString *)shopSummaryWithCurrency:(NSString *)currency;
- (BOOL)containsProductNamed:(NSString *)name;

@end
