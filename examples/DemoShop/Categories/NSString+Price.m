#import "NSString+Price.h"

@implementation NSString (Price)

+ (NSString *)priceStringWithAmount:(double)amount currencyCode:(NSString *)currencyCode {
    NSNumberFormatter *formatter = [[NSNumberFormatter alloc] init];
    formatter.numberStyle = NSNumberFormatterCurrencyStyle;
    formatter.currencyCode = currencyCode;
    return [formatter stringFromNumber:@(amount)];
}

- (double)priceValueWithDefault:(double)fallback {
    NSScanner *scanner = [NSScanner scannerWithString:self];
    double value = 0;
    return [scanner scanDouble:&value] ? value : fallback;
}

@end
