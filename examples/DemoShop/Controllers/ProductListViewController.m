#import "ProductListViewController.h"
#import "NetworkClient.h"
#import "NSString+Price.h"
#import "UIView+Badge.h"

@interface ProductListViewController ()
@property (nonatomic, copy) NSArray<Product *> *products;
@end

@implementation ProductListViewController

- (void)viewDidLoad {
    [super viewDidLoad];
    self.cart = [[Cart alloc] init];
    self.navigationItem.rightBarButtonItem =
        [[UIBarButtonItem alloc] initWithBarButtonSystemItem:UIBarButtonSystemItemRefresh
                                                      target:self
                                                      action:@selector(refreshButtonTapped:)];
    [self reloadProductsInCategory:@"featured"];
}

- (void)reloadProductsInCategory:(NSString *)category {
    __weak typeof(self) weakSelf = self;
    [[NetworkClient sharedClientWithBaseURL:nil] fetchProductsInCategory:category
                                                                 handler:^(NSArray<Product *> *products, NSError *error) {
        dispatch_async(dispatch_get_main_queue(), ^{
            weakSelf.products = products;
            [weakSelf.tableView reloadData];
        });
    }];
}

- (void)refreshButtonTapped:(id)sender {
    [self reloadProductsInCategory:@"featured"];
}

- (void)showCartTotal {
    double total = [self.cart totalPriceWithTaxRate:0.08
                                        shippingFee:0
                                     includeDiscount:YES];
    self.title = [NSString priceStringWithAmount:total currencyCode:@"USD"];
    [self.navigationController.navigationBar showBadgeWithCount:self.cart.products.count animated:YES];
}

- (NSInteger)tableView:(UITableView *)tableView numberOfRowsInSection:(NSInteger)section {
    return self.products.count;
}

- (UITableViewCell *)tableView:(UITableView *)tableView cellForRowAtIndexPath:(NSIndexPath *)indexPath {
    UITableViewCell *cell = [tableView dequeueReusableCellWithIdentifier:@"Product"];
    if (!cell) {
        cell = [[UITableViewCell alloc] initWithStyle:UITableViewCellStyleValue1 reuseIdentifier:@"Product"];
    }
    Product *product = self.products[indexPath.row];
    cell.textLabel.text = product.name;
    cell.detailTextLabel.text = [NSString priceStringWithAmount:[product discountedPrice] currencyCode:@"USD"];
    return cell;
}

- (void)tableView:(UITableView *)tableView didSelectRowAtIndexPath:(NSIndexPath *)indexPath {
    [self.cart addProduct:self.products[indexPath.row] quantity:1];
    [self performSelector:@selector(showCartTotal) withObject:nil afterDelay:0];
}

@end
