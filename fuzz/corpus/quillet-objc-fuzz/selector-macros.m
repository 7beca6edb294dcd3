#define RESULT(type, sel)          \
    type ret = [rs sel:0];         \
    [rs close];                    \
    return ret;
#define GETTER(name) [o name##Value:1 :2]
#define SPELLED(x) [o respondsToSelector:@selector(x)]; NSLog(@#x)
#define FORWARD(a) RESULT(id, a) GETTER(a ## b)
#define SIGNATURE(sel) - (id)sel:(int)i __attribute__((unused)) { return [super sel:i]; }

@implementation Reader
- (void)takeInfo:(NSDictionary *)__attribute__((ns_consumed)) info response:(id)r NS_SWIFT_NAME(take(_:response:)) {
    RESULT(NSString *, stringForColumnIndex);
    GETTER(int);
    SPELLED(foo:bar:);
    FORWARD(q);
}
SIGNATURE(rowAt)
@end
