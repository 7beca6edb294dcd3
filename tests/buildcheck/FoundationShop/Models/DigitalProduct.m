#import "DigitalProduct.h"

@implementation DigitalProduct

- (void)dealloc {
    [_downloadPath release];
    [super dealloc];
}

- (void)configureWithName:(NSString *)name price:(NSInteger)priceCents {
    [super configureWithName:name price:priceCents];
    // Downloads are priced without shipping, so a free one still needs a path.
    if (self.downloadPath == nil) {
        self.downloadPath = [@"downloads/" stringByAppendingString:[name lowercaseString]];
    }
}

- (void)configureWithName:(NSString *)name
                    price:(NSInteger)priceCents
             downloadPath:(NSString *)path {
    self.downloadPath = path;
    [self configureWithName:name price:priceCents];
}

- (BOOL)isEqual:(id)other {
    if (![super isEqual:other] || ![other isKindOfClass:[DigitalProduct class]]) {
        return NO;
    }
    return [self.downloadPath isEqualToString:[(DigitalProduct *)other downloadPath]];
}

- (NSUInteger)hash {
    return [super hash] ^ [self.downloadPath hash];
}

- (id)copyWithZone:(NSZone *)zone {
    DigitalProduct *copy = [super copyWithZone:zone];
    copy.downloadPath = self.downloadPath;
    return copy;
}

@end
