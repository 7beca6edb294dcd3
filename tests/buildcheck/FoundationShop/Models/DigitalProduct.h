#import "Product.h"

@interface DigitalProduct : Product

@property (nonatomic, copy) NSString *downloadPath;

- (void)configureWithName:(NSString *)name price:(NSInteger)priceCents;
- (void)configureWithName:(NSString *)name
                    price:(NSInteger)priceCents
             downloadPath:(NSString *)path;

@end
