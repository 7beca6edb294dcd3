#import <UIKit/UIKit.h>
#import "Cart.h"

@interface ProductListViewController : UITableViewController

@property (nonatomic, strong) Cart *cart;

- (void)reloadProductsInCategory:(NSString *)category;
- (void)refreshButtonTapped:(id)sender;
- (void)showCartTotal;

@end
