#import <Foundation/Foundation.h>

@interface NSString (Shop)

+ (NSString *)shopPriceStringWithCents:(NSInteger)cents currency:(NSString *)currency;

- (NSString *)shopTrimmedToLength:(NSUInteger)length;
- (NSString *)shopPaddedToWidth:(NSUInteger)width withCharacter:(unichar)pad;
- (BOOL)shopLooksLikeCouponCode;

@end

// Foundation already implements this; it is repeated here so the shop's
// string helpers read as one API in code completion.
@interface NSString (ShopFoundation)

- (NSString *)stringByAppendingString:(NSString *)aString;

@end
