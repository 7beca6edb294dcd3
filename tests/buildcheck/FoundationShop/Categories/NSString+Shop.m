#import "NSString+Shop.h"

@implementation NSString (Shop)

+ (NSString *)shopPriceStringWithCents:(NSInteger)cents currency:(NSString *)currency {
    NSString *sign = cents < 0 ? @"-" : @"";
    NSInteger absolute = cents < 0 ? -cents : cents;
    return [NSString stringWithFormat:@"%@%ld.%02ld %@", sign, (long)(absolute / 100),
                                      (long)(absolute % 100), currency];
}

- (NSString *)shopTrimmedToLength:(NSUInteger)length {
    if ([self length] <= length) {
        return self;
    }
    NSString *head = [self substringToIndex:(length > 0 ? length - 1 : 0)];
    return [head stringByAppendingString:@"…"];
}

- (NSString *)shopPaddedToWidth:(NSUInteger)width withCharacter:(unichar)pad {
    if ([self length] >= width) {
        return self;
    }
    NSString *padding = [@"" stringByPaddingToLength:width - [self length]
                                          withString:[NSString stringWithCharacters:&pad length:1]
                                     startingAtIndex:0];
    return [padding stringByAppendingString:self];
}

- (BOOL)shopLooksLikeCouponCode {
    // Codes are printed as "[SPRING24]" on flyers; people type the brackets.
    NSString *code = self;
    if ([code hasPrefix:@"["] && [code hasSuffix:@"]"]) {
        code = [code substringWithRange:NSMakeRange(1, [code length] - 2)];
    }
    return [code length] >= 4 && [code characterAtIndex:0] != '[' &&
           [[code uppercaseString] isEqualToString:code];
}

@end
