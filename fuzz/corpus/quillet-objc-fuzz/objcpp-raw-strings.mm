#import <Foundation/Foundation.h>
#include <vector>
#include <map>

namespace shop {
template <typename T> using Table = std::map<int, std::vector<T>>;
[[nodiscard]] static int count(const Table<int>& t) { return static_cast<int>(t.size()); }
}

static const char* kQuery = R"sql(SELECT name FROM items WHERE note = "a:b:" AND x = ')';)sql";
static const char* kEmpty = R"()";
static auto kWide = L"wide:string:";
static auto kUtf8 = u8"utf8:literal:";

@implementation Bridge

- (void)runWithTable:(const shop::Table<int>&)table handler:(void (^)(int))handler {
    std::vector<std::vector<int>> nested{{1, 2}, {3}};
    auto lambda = [&, handler](int v) -> int { handler(v); return v >> 1; };
    for (auto& row : nested) { lambda(row[0]); }
    [self.delegate bridge:self didCount:shop::count(table) rows:nested.size()];
    int digits = 1'000'000;
    (void)kQuery; (void)kEmpty; (void)kWide; (void)kUtf8; (void)digits;
}

@end
