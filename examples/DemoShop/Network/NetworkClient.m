#import "NetworkClient.h"
#import "Product.h"

@interface NetworkClient ()
@property (nonatomic, strong) NSURL *baseURL;
@property (nonatomic, strong) NSURLSession *session;
@property (nonatomic, assign) NSInteger retries;
@end

@implementation NetworkClient

+ (instancetype)sharedClientWithBaseURL:(NSURL *)baseURL {
    static NetworkClient *shared;
    static dispatch_once_t once;
    dispatch_once(&once, ^{
        shared = [[NetworkClient alloc] init];
        shared.baseURL = baseURL;
        shared.session = [NSURLSession sessionWithConfiguration:[NSURLSessionConfiguration defaultSessionConfiguration]];
    });
    return shared;
}

- (void)configureTimeout:(NSTimeInterval)timeout retries:(NSInteger)retries {
    self.session.configuration.timeoutIntervalForRequest = timeout;
    self.retries = retries;
}

- (NSURLRequest *)requestForPath:(NSString *)path parameters:(NSDictionary *)parameters {
    NSURLComponents *components = [NSURLComponents componentsWithURL:[self.baseURL URLByAppendingPathComponent:path]
                                              resolvingAgainstBaseURL:NO];
    NSMutableArray *items = [NSMutableArray array];
    [parameters enumerateKeysAndObjectsUsingBlock:^(id key, id value, BOOL *stop) {
        [items addObject:[NSURLQueryItem queryItemWithName:key value:[value description]]];
    }];
    components.queryItems = items;
    return [NSURLRequest requestWithURL:components.URL];
}

- (void)fetchProductsInCategory:(NSString *)category handler:(ProductsHandler)handler {
    NSURLRequest *request = [self requestForPath:@"products"
                                      parameters:@{@"category" : category}];
    [[self.session dataTaskWithRequest:request
                     completionHandler:^(NSData *data, NSURLResponse *response, NSError *error) {
        NSMutableArray *products = [NSMutableArray array];
        for (NSDictionary *item in [NSJSONSerialization JSONObjectWithData:data options:0 error:nil]) {
            [products addObject:[Product productWithName:item[@"name"] price:[item[@"price"] doubleValue]]];
        }
        handler(products, error);
    }] resume];
}

- (void)cancelAllRequests {
    [self.session invalidateAndCancel];
}

@end
