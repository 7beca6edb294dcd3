@protocol CartObserver;
@protocol CartObserver <NSObject>
@required
- (void)cart:(ShoppingCart *)cart didChange:(NSString *)change;
@optional
- (BOOL)cartShouldCheckOut:(ShoppingCart *)cart;
- (void)cart:(ShoppingCart *)cart willRemoveItem:(OrderItem *)item atIndex:(NSUInteger)index;
@end

@interface NSString (Checkout)
- (NSString *)stringByTrimmingPrice;
- (BOOL)looksLikeCouponCode:(NSString *)prefix;
@end

@interface ShoppingCart (Persistence) <NSCoding>
+ (nullable instancetype)cartFromFile:(NSURL *)file error:(NSError **)error;
@end
