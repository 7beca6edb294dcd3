#include "precise/SdkSelectors.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include <sys/stat.h>

#include "concurrency/ParallelFor.h"
#include "fs/AtomicFile.h"
#include "fs/DirectoryLister.h"
#include "fs/SourceReader.h"
#include "log/Log.h"
#include "objc/SourceScanner.h"

namespace quillet {

namespace {

constexpr std::string_view cacheFormat = "quillet sdk selectors 2";
constexpr unsigned parseThreads = 4;

// FNV-1a, 64 bits: a fingerprint, not a secret.
class Fingerprint {
public:
    void add(std::string_view bytes) {
        for (const char c : bytes) {
            hash_ = (hash_ ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
        add(std::uint64_t{bytes.size()});
    }
    void add(std::uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash_ = (hash_ ^ ((value >> (8 * i)) & 0xFF)) * 1099511628211ULL;
        }
    }
    std::string hex() const {
        static constexpr char digits[] = "0123456789abcdef";
        std::string text(16, '0');
        for (int i = 0; i < 16; ++i) {
            text[15 - i] = digits[(hash_ >> (4 * i)) & 0xF];
        }
        return text;
    }

private:
    std::uint64_t hash_ = 14695981039346656037ULL;
};

std::uint64_t modificationNanoseconds(const struct stat& info) {
#ifdef __APPLE__
    const auto& time = info.st_mtimespec;
#else
    const auto& time = info.st_mtim;
#endif
    return static_cast<std::uint64_t>(time.tv_sec) * 1000000000ULL +
           static_cast<std::uint64_t>(time.tv_nsec);
}

// The headers below a folder and what their state is.
struct Survey {
    std::vector<std::string> headers;
    std::string fingerprint;
};

std::optional<Survey> survey(const std::string& folder) {
    const auto listing = fs::listRecursively(folder);
    if (!listing) {
        return std::nullopt;
    }
    Survey result;
    Fingerprint fingerprint;
    for (const auto& subpath : listing->subpaths) {
        if (!subpath.ends_with(".h")) {
            continue;
        }
        std::string path = folder + "/" + subpath;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        fingerprint.add(subpath);
        fingerprint.add(static_cast<std::uint64_t>(info.st_size));
        fingerprint.add(modificationNanoseconds(info));
        result.headers.push_back(std::move(path));
    }
    result.fingerprint = fingerprint.hex() + " " + std::to_string(result.headers.size());
    return result;
}

std::optional<SelectorSet> readCache(const std::string& path, const std::string& folder,
                                     const std::string& fingerprint) {
    std::ifstream in(path);
    std::string format, cachedFolder, cachedFingerprint;
    if (!std::getline(in, format) || format != cacheFormat || !std::getline(in, cachedFolder) ||
        cachedFolder != folder || !std::getline(in, cachedFingerprint) ||
        cachedFingerprint != fingerprint) {
        return std::nullopt;
    }
    SelectorSet selectors;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            selectors.insert(std::move(line));
        }
    }
    return selectors;
}

void writeCache(const std::string& path, const std::string& folder, const std::string& fingerprint,
                const SelectorSet& selectors) {
    std::vector<std::string_view> sorted(selectors.begin(), selectors.end());
    std::sort(sorted.begin(), sorted.end());
    std::string text = std::string(cacheFormat) + "\n" + folder + "\n" + fingerprint + "\n";
    for (const auto selector : sorted) {
        text.append(selector).push_back('\n');
    }
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    // Without a cache the next run parses the folder again; nothing else is lost.
    if (const auto written = fs::writeFileAtomically(path, text); !written) {
        QLOG(written.error().message);
    }
}

SelectorSet parseHeaders(const std::vector<std::string>& headers) {
    std::vector<std::vector<std::string>> declared(headers.size());
    parallelFor(headers.size(), parseThreads, [&](std::size_t i) {
        const auto read = fs::SourceReader::read(headers[i]);
        if (!read) {
            return;
        }
        auto facts = objc::scanSource(read->text, objc::Dialect::objectiveC,
                                      objc::ScanDepth::declarations, objc::UnaryNames::recorded);
        for (auto& use : facts.uses) {
            declared[i].push_back(std::move(use.selector));
        }
    });
    SelectorSet selectors;
    for (auto& list : declared) {
        for (auto& selector : list) {
            selectors.insert(std::move(selector));
        }
    }
    return selectors;
}

std::string normalised(const std::string& folder) {
    std::error_code error;
    std::string path = std::filesystem::absolute(folder, error).lexically_normal().string();
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return error ? folder : path;
}

} // namespace

std::string SdkSelectorCache::cacheFileOf(const std::string& sdkFolder) const {
    Fingerprint name;
    name.add(normalised(sdkFolder));
    return cacheFolder_ + "/sdk-" + name.hex() + ".txt";
}

std::optional<SdkSelectors> SdkSelectorCache::load(const std::string& sdkFolder) const {
    const std::string folder = normalised(sdkFolder);
    auto found = survey(folder);
    if (!found) {
        return std::nullopt;
    }
    SdkSelectors result;
    result.headers = found->headers.size();
    const std::string cacheFile = cacheFileOf(folder);
    if (auto cached = readCache(cacheFile, folder, found->fingerprint)) {
        result.selectors = std::move(*cached);
        result.fromCache = true;
    } else {
        result.selectors = parseHeaders(found->headers);
        writeCache(cacheFile, folder, found->fingerprint, result.selectors);
    }
    result.withKeywords = static_cast<std::size_t>(
        std::count_if(result.selectors.begin(), result.selectors.end(),
                      [](const std::string& selector) { return selector.ends_with(':'); }));
    return result;
}

} // namespace quillet
