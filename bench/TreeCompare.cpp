#include "TreeCompare.h"

#include <fstream>
#include <iterator>

namespace quillet::bench {

namespace fs = std::filesystem;

namespace {

bool isSource(const fs::path& path) {
    const auto extension = path.extension();
    return extension == ".h" || extension == ".m" || extension == ".mm";
}

} // namespace

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string firstDifference(const fs::path& a, const fs::path& b) {
    for (const auto& entry : fs::recursive_directory_iterator(a)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const auto relative = fs::relative(entry.path(), a);
        if (!fs::exists(b / relative) || contentOf(entry.path()) != contentOf(b / relative)) {
            return relative.string();
        }
    }
    return "";
}

std::uintmax_t sourceBytes(const fs::path& root) {
    std::uintmax_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && isSource(entry.path())) {
            total += entry.file_size();
        }
    }
    return total;
}

} // namespace quillet::bench
