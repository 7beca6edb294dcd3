#include "precise/SelectorRewrite.h"

#include <algorithm>

#include "concurrency/ParallelFor.h"
#include "log/Log.h"

namespace quillet {

namespace {

constexpr unsigned rewriteThreads = 4;

struct Edit {
    std::uint32_t offset;
    std::uint32_t length;
    std::string replacement;
};

// The name of a keyword without its colon: "fooWithName:" -> "fooWithName"; an argument-less
// selector is its name.
std::string nameOf(const std::string& keyword) {
    return keyword.ends_with(':') ? keyword.substr(0, keyword.size() - 1) : keyword;
}

std::string splice(const std::string& text, std::vector<Edit>& edits) {
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.offset < b.offset; });
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    std::size_t copied = 0;
    for (const auto& edit : edits) {
        if (edit.offset < copied) {
            continue; // never the case for tokens of one file; kept safe all the same
        }
        result.append(text, copied, edit.offset - copied);
        result += edit.replacement;
        copied = edit.offset + edit.length;
    }
    result.append(text, copied);
    return result;
}

} // namespace

std::vector<std::uint32_t> SelectorRewrite::rewriteFile(std::size_t file,
                                                        const std::vector<RenamePair>& pairs) {
    const auto& facts = index_.factsOf(file);
    std::vector<Edit> edits;
    std::vector<std::uint32_t> used;
    for (const auto& use : facts.uses) {
        const auto found = pairOf_.find(use.selector);
        if (found == pairOf_.end() || use.kind == objc::UseKind::fixedText) {
            continue;
        }
        used.push_back(found->second);
        const RenamePair& pair = pairs[found->second];
        const auto* span = facts.spans.data() + use.firstSpan;
        const bool wholeText =
            use.kind == objc::UseKind::stringLiteral || use.kind == objc::UseKind::interfaceAction;
        if (wholeText) {
            edits.push_back({span->offset, span->length, pair.new_.selector()});
            continue;
        }
        for (std::uint32_t k = 0; k < use.spanCount && k < pair.new_.elements.size(); ++k) {
            if (span[k].length > 0) { // an empty keyword stays empty
                edits.push_back({span[k].offset, span[k].length, nameOf(pair.new_.elements[k])});
            }
        }
    }
    if (!edits.empty()) {
        files_[file].setText(splice(files_[file].text(), edits));
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    return used;
}

void SelectorRewrite::run(const std::vector<RenamePair>& pairs, const PairProgress& progress) {
    pairOf_.clear();
    for (std::uint32_t i = 0; i < pairs.size(); ++i) {
        pairOf_.try_emplace(pairs[i].old.selector(), i);
    }
    // Files are rewritten all pairs at once, so the pairs are reported in step with the share
    // of files done.
    std::size_t reportedPairs = 0;
    const auto reportUpTo = [&](std::size_t due) {
        while (reportedPairs < due) {
            progress(reportedPairs++);
        }
    };
    std::vector<std::vector<std::uint32_t>> pairsInFile(files_.size());
    parallelForReporting(
        files_.size(), rewriteThreads,
        [&](std::size_t f) {
            if (!files_[f].ignored() && index_.parsed(f)) {
                pairsInFile[f] = rewriteFile(f, pairs);
            }
        },
        [&](std::size_t filesDone) { reportUpTo(pairs.size() * filesDone / files_.size()); });
    reportUpTo(pairs.size());

    std::vector<std::vector<std::size_t>> filesOfPair(pairs.size());
    for (std::size_t f = 0; f < files_.size(); ++f) {
        for (const auto pair : pairsInFile[f]) {
            filesOfPair[pair].push_back(f);
        }
    }
    LogBatch batch;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        batch.add(QLOG_SITE("replace(factor:)"), "Replacing " + pairs[i].old.selector());
        for (const auto f : filesOfPair[i]) {
            batch.add(QLOG_SITE("replace(factor:)"), files_[f].inFile());
        }
        batch.commit();
    }
}

} // namespace quillet
