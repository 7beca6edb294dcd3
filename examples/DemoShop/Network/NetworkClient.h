#import <Foundation/Foundation.h>

@class Product;

typedef void (^ProductsHandler)(NSArray<Product *> *products, NSError *error);

@interface NetworkClient : NSObject

+ (instancetype)sharedClientWithBaseURL:(NSURL *)baseURL;
- (void)configureTimeout:(NSTimeInterval)timeout retries:(NSInteger)retries;
- (NSURLRequest *)requestForPath:(NSString *)path parameters:(NSDictionary *)parameters;
- (void)fetchProductsInCategory:(NSString *)category handler:(ProductsHandler)handler;
- (void)cancelAllRequests;

@end
