#import "AppDelegate.h"
#import "ProductListViewController.h"
#import "NetworkClient.h"

@implementation AppDelegate

- (BOOL)application:(UIApplication *)application didFinishLaunchingWithOptions:(NSDictionary *)launchOptions {
    self.window = [[UIWindow alloc] initWithFrame:[UIScreen mainScreen].bounds];
    [[NetworkClient sharedClientWithBaseURL:[NSURL URLWithString:@"https://shop.example.com"]]
        configureTimeout:30 retries:2];
    ProductListViewController *list = [[ProductListViewController alloc] init];
    self.window.rootViewController = [[UINavigationController alloc] initWithRootViewController:list];
    [self.window makeKeyAndVisible];
    return YES;
}

@end
