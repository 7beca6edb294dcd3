#include "precise/ReservedWords.h"

#include <algorithm>
#include <vector>

namespace quillet {

namespace {

constexpr std::string_view reservedWordList =
    "BOOL Class IMP NO Nil SEL YES _Alignas _Alignof _Atomic _Bool _Complex _Generic _Imaginary "
    "_Nonnull _Noreturn _Nullable _Static_assert _Thread_local __autoreleasing __block __bridge "
    "__kindof __strong __unsafe_unretained __weak alignas alignof and and_eq asm assign atomic "
    "auto bitand bitor bool break bycopy byref case catch char char16_t char32_t char8_t class "
    "co_await co_return co_yield compl concept const const_cast consteval constexpr constinit "
    "continue copy decltype default delete do double dynamic_cast else enum explicit export "
    "extern false float for friend getter goto id if in inline inout instancetype int long "
    "mutable namespace new nil noexcept nonatomic nonnull not not_eq nullable nullptr oneway "
    "operator or or_eq out private protected public readonly readwrite "
    "register reinterpret_cast requires restrict retain return self setter short signed sizeof "
    "static static_assert static_cast strong struct super switch template this thread_local "
    "throw true try typedef typeid typename typeof union unsigned using virtual void volatile "
    "wchar_t weak while xor xor_eq";

std::vector<std::string_view> sortedReservedWords() {
    std::vector<std::string_view> words;
    std::string_view rest = reservedWordList;
    while (!rest.empty()) {
        const auto space = std::min(rest.find(' '), rest.size());
        words.push_back(rest.substr(0, space));
        rest.remove_prefix(std::min(space + 1, rest.size()));
    }
    std::sort(words.begin(), words.end());
    return words;
}

} // namespace

bool isReservedWord(std::string_view word) {
    static const std::vector<std::string_view> words = sortedReservedWords();
    return std::binary_search(words.begin(), words.end(), word);
}

} // namespace quillet
