@implementation Grid

- (id)cellAt:(NSInteger)i {
    id a = [matrix objectAtIndex:flag ? (int)count : 0];
    id b = [[Grid alloc] initWithRows:rows > 2 ? rows : 2 columns:cols];
    id c = [self.items[i] valueForKeyPath:@"price.amount"];
    id d = [super cellAt:i - 1];
    id e = [NSString stringWithFormat:@"%d:%d", (int)i, (int)[self countFor:i]];
    id f = [object method:arg1 :arg2 :arg3];
    id g = [[self class] instancesRespondToSelector:_cmd];
    int h = array[index] + values[[self indexFor:i]];
    NS_DURING [self riskyCall:i]; NS_HANDLER NSLog(@"%@", localException); NS_ENDHANDLER
    return [a isEqual:b] ? c : [d arrayByAddingObjectsFromArray:@[e, f, g, @(h)]];
}

@end
