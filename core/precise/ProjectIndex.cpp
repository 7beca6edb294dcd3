#include "precise/ProjectIndex.h"

#include "concurrency/ParallelFor.h"
#include "objc/SelectorText.h"
#include "objc/SourceScanner.h"
#include "precise/ResourceFileScanner.h"

namespace quillet {

namespace {

constexpr unsigned scanThreads = 4;

objc::SourceFacts factsFor(const SourceFile& file) {
    if (!file.readable()) {
        return {};
    }
    if (isResourcePath(file.inFile())) {
        return scanResourceFile(file.inFile(), file.text(), file.binary());
    }
    const auto dialect =
        file.inFile().ends_with(".mm") ? objc::Dialect::objectiveCpp : objc::Dialect::objectiveC;
    return objc::scanSource(file.text(), dialect, objc::ScanDepth::everything);
}

} // namespace

ProjectIndex::ProjectIndex(const std::vector<SourceFile>& files)
    : files_(files), facts_(files.size()) {
    parallelFor(files.size(), scanThreads, [&](std::size_t i) { facts_[i] = factsFor(files[i]); });
}

bool ProjectIndex::parsed(std::size_t file) const {
    return files_[file].readable() && facts_[file].problems.empty();
}

std::vector<MethodModel>
ProjectIndex::declaredMethods(const std::vector<std::size_t>& headers) const {
    std::vector<MethodModel> methods;
    for (const auto header : headers) {
        for (const auto& use : facts_[header].uses) {
            if (use.kind != objc::UseKind::declaration || use.blockTyped ||
                use.selector.starts_with("init") || use.selector.starts_with("set")) {
                continue;
            }
            methods.push_back(MethodModel{objc::keywordsOf(use.selector), files_[header].inFile()});
        }
    }
    return methods;
}

SelectorSet ProjectIndex::selectorsInUse() const {
    SelectorSet selectors;
    for (const auto& facts : facts_) {
        for (const auto& use : facts.uses) {
            selectors.insert(use.selector);
        }
    }
    return selectors;
}

} // namespace quillet
