#include "precise/ProjectIndex.h"

#include "concurrency/ParallelFor.h"
#include "objc/MacroUseScanner.h"
#include "objc/SelectorText.h"
#include "objc/SourceScanner.h"
#include "precise/ResourceFileScanner.h"
#include "precise/RuntimeSelectors.h"
#include "precise/UnsureTextScan.h"

namespace quillet {

namespace {

constexpr unsigned scanThreads = 4;
constexpr int deepestMacroNesting = 4;

bool isSource(const SourceFile& file) {
    return file.readable() &&
           (file.kind() == SourceKind::header || file.kind() == SourceKind::implementation);
}

objc::SourceFacts factsFor(const SourceFile& file, objc::UnaryNames unary) {
    if (!file.readable() || file.kind() == SourceKind::swift) {
        return {}; // Swift is read only for the names it uses (SwiftUsage), and never rewritten
    }
    if (file.kind() == SourceKind::other) {
        return {}; // an Xcode project, read for the files it lists
    }
    if (file.kind() == SourceKind::interfaceFile) {
        return scanResourceFile(file.inFile(), file.text(), file.binary());
    }
    if (file.encodingUnsure()) {
        return scanUnsureText(file.text(), dialectOf(file.inFile()), unary);
    }
    return objc::scanSource(file.text(), dialectOf(file.inFile()), objc::ScanDepth::everything,
                            unary);
}

} // namespace

ProjectIndex::ProjectIndex(const std::vector<SourceFile>& files, objc::UnaryNames unary)
    : files_(files), unary_(unary), facts_(files.size()) {
    parallelFor(files.size(), scanThreads,
                [&](std::size_t i) { facts_[i] = factsFor(files[i], unary_); });
    addMacroFormedUses();
}

// Macros are mostly defined in a header and used elsewhere, so the selectors their uses form are
// added once every file's definitions are known.
void ProjectIndex::addMacroFormedUses() {
    objc::MacroTable macros;
    for (auto& facts : facts_) {
        for (auto& definition : facts.macros) {
            objc::addMacroDefinition(macros, std::move(definition));
        }
        facts.macros.clear();
    }
    // A macro that passes its parameter on to one of these forms selectors too; its uses are
    // read in the next round. The rounds are few: macros rarely nest deeper.
    for (int round = 0; round < deepestMacroNesting && !macros.empty(); ++round) {
        std::vector<objc::MacroTable> derived(files_.size());
        parallelFor(files_.size(), scanThreads, [&](std::size_t i) {
            if (isSource(files_[i])) {
                objc::MacroUseScanner scanner(files_[i].text(), dialectOf(files_[i].inFile()),
                                              macros);
                scanner.run(facts_[i]);
                derived[i] = std::move(scanner.derived());
            }
        });
        macros.clear();
        for (auto& table : derived) {
            for (auto& [name, definition] : table) {
                objc::addMacroDefinition(macros, std::move(definition));
            }
        }
    }
}

bool ProjectIndex::parsed(std::size_t file) const {
    return files_[file].readable() && facts_[file].problems.empty();
}

std::vector<MethodModel>
ProjectIndex::declaredMethods(const std::vector<std::size_t>& headers) const {
    std::vector<MethodModel> methods;
    for (const auto header : headers) {
        for (const auto& use : facts_[header].uses) {
            const bool unary = !use.selector.ends_with(':');
            if (use.kind != objc::UseKind::declaration || use.blockTyped ||
                use.selector.starts_with("init") || use.selector.starts_with("set") ||
                (unary && startsMemoryFamily(use.selector))) {
                continue;
            }
            auto elements =
                unary ? std::vector<std::string>{use.selector} : objc::keywordsOf(use.selector);
            methods.push_back(MethodModel{std::move(elements), files_[header].inFile()});
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
