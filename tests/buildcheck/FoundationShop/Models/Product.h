#import <Foundation/Foundation.h>

@interface Product : NSObject <NSCopying>

@property (nonatomic, copy) NSString *name;
@property (nonatomic, assign) NSInteger priceCents;

+ (instancetype)productWithName:(NSString *)name price:(NSInteger)priceCents;
- (instancetype)initWithName:(NSString *)name price:(NSInteger)priceCents;

// Subclasses extend this and call super first.
- (void)configureWithName:(NSString *)name price:(NSInteger)priceCents;
- (NSString *)displayNameWithLimit:(NSUInteger)limit;

- (BOOL)isEqual:(id)other;
- (NSUInteger)hash;
- (id)copyWithZone:(NSZone *)zone;

@end
