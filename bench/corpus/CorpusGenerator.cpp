#include "CorpusGenerator.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "CorpusPlan.h"
#include "ObjcFileWriter.h"

namespace quillet::bench {

namespace fs = std::filesystem;

namespace {

std::string withCrlf(const std::string& text) {
    std::string converted;
    converted.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') {
            converted += '\r';
        }
        converted += c;
    }
    return converted;
}

class TreeWriter {
public:
    explicit TreeWriter(fs::path root) : root_(std::move(root)) {}

    void write(const std::string& relative, const std::string& text, bool crlf) {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        const std::string bytes = crlf ? withCrlf(text) : text;
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + path.string());
        }
        ++stats_.files;
        stats_.lines += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        stats_.bytes += bytes.size();
    }

    CorpusStats& stats() { return stats_; }

private:
    fs::path root_;
    CorpusStats stats_;
};

} // namespace

CorpusOptions CorpusOptions::large() {
    return {};
}

CorpusOptions CorpusOptions::small(std::uint64_t seed) {
    CorpusOptions options;
    options.seed = seed;
    options.files = 40 + seed % 60;
    options.methods = 30 + seed % 90;
    options.lines = options.files * 40;
    options.crlfPercent = 25;
    options.overlapPercent = 30;
    return options;
}

CorpusStats generateCorpus(const CorpusOptions& options, const fs::path& root) {
    if (fs::exists(root) && !fs::is_empty(root)) {
        throw std::runtime_error(root.string() + " is not empty");
    }
    const CorpusPlan plan(options);
    ObjcFileWriter writer(plan, options.seed, options.selectorsInText);
    TreeWriter tree(root);
    for (std::size_t c = 0; c < plan.classes().size(); ++c) {
        const auto& planned = plan.classes()[c];
        const std::string stem = planned.folder + "/" + planned.name;
        std::string header = writer.header(c);
        if (c % 17 == 3) {
            header.insert(0, "\xEF\xBB\xBF"); // some editors save a byte order mark
        }
        tree.write(stem + ".h", header, planned.crlf);
        tree.write(stem + (planned.objectiveCpp ? ".mm" : ".m"), writer.implementation(c),
                   planned.crlf);
    }
    for (std::size_t m = 0; m < plan.modules().size(); ++m) {
        const auto& name = plan.modules()[m].name;
        tree.write(name + "/" + name + ".h", writer.umbrella(m), false);
    }
    tree.stats().methods = plan.methods().size();
    return tree.stats();
}

} // namespace quillet::bench
