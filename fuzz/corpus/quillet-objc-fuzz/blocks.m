typedef void (^CompletionBlock)(BOOL finished, NSError *_Nullable error);

@implementation CheckoutController

- (void)submitOrder:(Order *)order completion:(void (^)(BOOL ok, NSError *error))completion {
    __weak typeof(self) weakSelf = self;
    [self.client postOrder:order success:^(NSDictionary *response) {
        [weakSelf showReceipt:response[@"receipt"] animated:YES];
        completion(YES, nil);
    } failure:^(NSError *error) {
        [weakSelf presentError:error retry:^{
            [weakSelf submitOrder:order completion:completion];
        }];
    }];
    dispatch_async(dispatch_get_main_queue(), ^{
        [UIView animateWithDuration:0.25 animations:^{ self.spinner.alpha = 1; } completion:nil];
    });
}

- (CompletionBlock)completionForRow:(NSInteger)row { return ^(BOOL finished, NSError *error) { [self reloadRow:row withError:error]; }; }

@end
