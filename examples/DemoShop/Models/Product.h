#import <Foundation/Foundation.h>

NS_ASSUME_NONNULL_BEGIN

/// One item of the shop's catalogue.
@interface Product : NSObject

@property (nonatomic, copy, readonly) NSString *name;
@property (nonatomic, assign, readonly) double price;
@property (nonatomic, assign) double discount;

+ (instancetype)productWithName:(NSString *)name price:(double)price;
- (instancetype)initWithName:(NSString *)name price:(double)price;
- (void)setDiscount:(double)discount;

// The price after the discount, rounded to cents.
- (double)discountedPrice;
- (BOOL)isCheaperThan:(Product *)other;

@end

NS_ASSUME_NONNULL_END
