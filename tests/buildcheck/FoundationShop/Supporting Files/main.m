// A command line walk through the model layer: every class and every helper is used,
// so the project can be checked without a simulator.

#import <Foundation/Foundation.h>
#import "Controllers/CheckoutController.h"
#import "Models/Cart.h"
#import "Models/DigitalProduct.h"
#import "Services/OrderObserver.h"
#import "Categories/NSString+Shop.h"

static void fillCart(CheckoutController *controller) {
    [controller addProductNamed:@"Mug" price:1299 bulkQuantity:6];
    [controller addProductNamed:@"Poster // A2 [matte]" price:2499 bulkQuantity:2];

    DigitalProduct *ebook = [[[DigitalProduct alloc] init] autorelease];
    [ebook configureWithName:@"Field Guide"
                       price:999
                downloadPath:@"downloads/field-guide.epub"];
    Cart *cart = controller.cart;
    cart[cart.count] = ebook; // appends
    cart[0] = [[cart[0] copy] autorelease];
    NSLog(@"%@ / %@ / %@", cart[0], cart[@"Field Guide"], [cart shopSummaryWithCurrency:@"USD"]);
}

int main(int argc, const char *argv[]) {
    @autoreleasepool {
        OrderStore *store = [[[OrderStore alloc] init] autorelease];
        OrderObserver *observer = [[[OrderObserver alloc] init] autorelease];
        store.delegate = observer;
        CheckoutController *controller =
            [[[CheckoutController alloc] initWithStore:store] autorelease];

        controller.bulkOrder = argc > 1;
        fillCart(controller);
        controller.pendingCoupon = @"[SPRING24]";
        [controller checkoutTapped:nil];
        // [store addOrder:x] would skip the controller's totals; always go through checkout.
        [controller addProductNamed:@"Sticker" price:150 bulkQuantity:10];
        [controller checkoutTapped:controller];

        Order *first = store.orders[0];
        first.status = OrderStatusPaid;
        first.status = OrderStatusShipped;
        NSLog(@"%@", [observer lastEventWithPrefix:@"status"]);

        NSArray *paid = [store ordersMatchingFilter:^BOOL(Order *order) {
            return order.status != OrderStatusOpen && [order containsProductNamed:@"Mug"];
        }];
        NSLog(@"paid: %lu, first equals copy: %d", (unsigned long)[paid count],
              [first.products[0] isEqual:[[first.products[0] copy] autorelease]]);

        NSArray *saved = store.orders;
        [controller printRecentOrdersWithLimit:5];
        for (Order *order in store.orders) {
            [store removeOrder:order]; // also ends the status observation
        }
        [store reloadWithOrders:saved];
        NSLog(@"%@", [[NSString stringWithFormat:@"%@", SHOP_PRICE(-250)]
                         stringByAppendingString:@" refunded"]);
        NSLog(@"%@", [@"Field Guide (2nd edition)" shopTrimmedToLength:argc > 2 ? 8 : 12]);
        NSLog(@"%@", observer.events);
    }
    return 0;
}
