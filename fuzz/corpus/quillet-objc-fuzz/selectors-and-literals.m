@implementation Dispatcher

- (void)wire {
    SEL tap = @selector(buttonTapped:withEvent:);
    SEL empty = @selector(combine::);
    SEL mixed = @selector(value:: forKey:);
    SEL unary = @selector(reload);
    [self.button addTarget:self action:tap forControlEvents:UIControlEventTouchUpInside];
    [self performSelector:@selector(finishWithResult:) withObject:@42 afterDelay:0.5];
    NSString *name = NSStringFromSelector(@selector(tableView:cellForRowAtIndexPath:));
    NSArray *keys = @[@"setValue:forKey:", @"title", "observeValueForKeyPath:ofObject:change:context:"];
    NSDictionary *map = @{ @"tap:" : @(1), @"swipe:direction:" : @YES };
    char c = 'x';
    const char *escaped = "quote \" inside: not:a:selector";
    int big = 1000000;
    id value = map[keys[0]];
    [self log:@"%@ %@ %c %s %d %@", name, value, c, escaped, big, NSStringFromSelector(empty)];
    (void)mixed; (void)unary;
}

@end
