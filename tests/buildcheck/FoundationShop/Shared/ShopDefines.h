// Shared macros. The model layer builds without UIKit, so the Interface Builder
// marker is defined here when no UI header has done it.

#import <Foundation/Foundation.h>

#ifndef IBAction
#define IBAction void
#endif

#define SHOP_DEFAULT_CURRENCY @"EUR"

// Formats cents in the shop's currency, e.g. SHOP_PRICE(1999) -> "19.99 EUR".
#define SHOP_PRICE(cents) [NSString shopPriceStringWithCents:(cents) currency:SHOP_DEFAULT_CURRENCY]

// Logs an order on one line; the brackets and slashes in the format are literal text.
#define SHOP_LOG_ORDER(order)                                                  \
    NSLog(@"[order] %@ // %@", [(order) identifier],                           \
          [(order) shopSummaryWithCurrency:SHOP_DEFAULT_CURRENCY])
