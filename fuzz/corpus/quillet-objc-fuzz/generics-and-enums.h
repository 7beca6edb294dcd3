typedef NS_ENUM(NSInteger, PaymentState) {
    PaymentStatePending = 0,
    PaymentStateDone = 1 << 1,
};

struct Point3 { double x, y, z; };

@interface Box<__covariant ObjectType> : NSObject <NSFastEnumeration>
- (void)put:(ObjectType)object forKey:(id<NSCopying>)key;
- (nullable ObjectType)objectForKey:(id<NSCopying>)key;
- (NSDictionary<NSString *, NSArray<NSNumber *> *> *)groupedBy:(NSString *(^)(ObjectType))keyBlock;
@end

@interface Box<ObjectType> (Sorting)
- (NSArray<ObjectType> *)sortedUsingComparator:(NSComparator)cmptr ascending:(BOOL)ascending;
@end

extern NSString *PaymentStateName(PaymentState state);
