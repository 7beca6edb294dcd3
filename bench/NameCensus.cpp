#include "NameCensus.h"

#include "fs/SourceReader.h"
#include "objc/SourceScanner.h"

namespace quillet::bench {

namespace {

void count(const objc::SourceFacts& facts, NameCensus& census) {
    for (const auto& container : facts.containers) {
        using Kind = objc::Container::Kind;
        if (container.kind == Kind::implementation && !container.category) {
            census["classes"].insert(container.name);
        } else if (container.kind == Kind::protocol) {
            census["protocols"].insert(container.name);
        }
        if (container.kind != Kind::protocol) {
            census["properties"].insert(container.keys.begin(), container.keys.end());
        }
    }
    for (const auto& use : facts.uses) {
        if (use.kind == objc::UseKind::definition) {
            census["methods"].insert(use.selector);
        }
    }
}

} // namespace

NameCensus censusOf(const std::filesystem::path& root) {
    NameCensus census;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const auto extension = entry.path().extension();
        if (!entry.is_regular_file() ||
            (extension != ".h" && extension != ".m" && extension != ".mm")) {
            continue;
        }
        const auto read = fs::SourceReader::read(entry.path().string());
        if (!read) {
            continue;
        }
        const auto dialect =
            extension == ".mm" ? objc::Dialect::objectiveCpp : objc::Dialect::objectiveC;
        count(objc::scanSource(read->text, dialect, objc::ScanDepth::declarations), census);
    }
    return census;
}

} // namespace quillet::bench
