#import <Foundation/Foundation.h>

@interface NSString (Price)

+ (NSString *)priceStringWithAmount:(double)amount currencyCode:(NSString *)currencyCode;
- (double)priceValueWithDefault:(double)fallback;

@end
