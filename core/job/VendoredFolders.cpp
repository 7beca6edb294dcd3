#include "job/VendoredFolders.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace quillet {

namespace {

// What a folder's own entries show of a library.
struct LibraryMarks {
    bool podspec = false;
    bool licence = false;
    bool tests = false;
    bool all() const { return podspec && licence && tests; }
};

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

void mark(LibraryMarks& marks, std::string_view name) {
    const std::string upperName = upper(name);
    marks.podspec =
        marks.podspec || upperName.ends_with(".PODSPEC") || upperName.ends_with(".PODSPEC.JSON");
    marks.licence =
        marks.licence || upperName.starts_with("LICENSE") || upperName.starts_with("LICENCE");
    marks.tests = marks.tests || upperName.ends_with("TESTS") || upperName == "TEST";
}

bool under(std::string_view path, const std::vector<std::string>& prefixes) {
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](const std::string& prefix) { return path.starts_with(prefix); });
}

std::string fileNameOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

} // namespace

std::vector<VendoredFolder> vendoredFolders(const std::vector<std::string>& subpaths,
                                            const std::vector<std::string>& leftAlone,
                                            const std::vector<MethodModel>& renamed) {
    std::map<std::string, LibraryMarks> marksOf; // folder ("" for the project) -> marks
    for (const auto& path : subpaths) {
        const auto slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
        mark(marksOf[folder], std::string_view(path).substr(folder.size()));
    }
    std::vector<VendoredFolder> found;
    for (const auto& [folder, marks] : marksOf) {
        if (folder.empty() || !marks.all() || under(folder, leftAlone)) {
            continue;
        }
        // A library inside a library is counted with the outer one.
        if (!found.empty() && folder.starts_with(found.back().folder)) {
            continue;
        }
        found.push_back({folder, 0});
    }
    for (auto& vendored : found) {
        std::vector<std::string> headers;
        for (const auto& path : subpaths) {
            if (path.starts_with(vendored.folder)) {
                headers.push_back(fileNameOf(path));
            }
        }
        std::sort(headers.begin(), headers.end());
        vendored.methods = static_cast<std::size_t>(
            std::count_if(renamed.begin(), renamed.end(), [&](const MethodModel& method) {
                return std::binary_search(headers.begin(), headers.end(), method.file);
            }));
    }
    return found;
}

} // namespace quillet
