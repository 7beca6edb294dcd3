#import <Foundation/Foundation.h>
#import "OrderItem.h"

NS_ASSUME_NONNULL_BEGIN

@class OrderItem;
@protocol CartObserver;

@interface ShoppingCart : NSObject <NSCopying, NSSecureCoding>

@property (nonatomic, copy, readonly) NSArray<OrderItem *> *items;
@property (nonatomic, weak, nullable) id<CartObserver> observer;

+ (instancetype)cartWithItems:(NSArray<OrderItem *> *)items;
- (instancetype)initWithItems:(NSArray<OrderItem *> *)items currency:(NSString *)currency NS_DESIGNATED_INITIALIZER;
- (void)addItem:(OrderItem *)item quantity:(NSUInteger)quantity;
- (void)removeItemAtIndex:(NSUInteger)index;
- (NSDecimalNumber *)totalPriceIncludingTax:(BOOL)tax;
- (void)logFormat:(NSString *)format, ... NS_FORMAT_FUNCTION(1, 2);

@end

NS_ASSUME_NONNULL_END
