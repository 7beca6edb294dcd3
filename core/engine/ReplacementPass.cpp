#include "engine/ReplacementPass.h"

#include <unordered_map>

#include "engine/LiteralRename.h"
#include "engine/PieceRewriter.h"
#include "log/Log.h"

namespace quillet {

std::vector<std::vector<ReplacementPass::Lookup>>
ReplacementPass::anchorsOf(const std::vector<RenamePair>& pairs,
                           std::vector<std::string>& anchors) const {
    std::vector<std::vector<Lookup>> lookups;
    std::unordered_map<std::string, std::uint32_t> ids;
    for (const auto& pair : pairs) {
        auto& ofPair = lookups.emplace_back();
        for (const auto& element : pair.old.elements) {
            Lookup lookup;
            if (auto anchor = PieceIndex::anchorOf(element)) {
                const auto [it, added] =
                    ids.try_emplace(*anchor, static_cast<std::uint32_t>(anchors.size()));
                if (added) {
                    anchors.push_back(std::move(*anchor));
                }
                lookup.anchor = it->second;
            }
            ofPair.push_back(lookup);
        }
    }
    return lookups;
}

void ReplacementPass::run(const std::vector<RenamePair>& pairs, const PairProgress& progress) {
    auto& files = tool_.allFiles();
    std::vector<std::string> anchors;
    const auto lookups = anchorsOf(pairs, anchors);
    index_.emplace(files, anchors);

    std::vector<std::string> declaringHeaders;
    declaringHeaders.reserve(pairs.size());
    for (const auto& pair : pairs) {
        declaringHeaders.push_back(pair.old.file);
    }
    const auto scopes = tool_.importGraph().filesSeeing(declaringHeaders);

    fileStamp_.assign(files.size(), 0);
    firstPiece_.clear();
    std::uint32_t pieces = 0;
    for (const auto& file : files) {
        firstPiece_.push_back(pieces);
        pieces += static_cast<std::uint32_t>(file.datas().size());
    }
    pieceStamp_.assign(pieces, 0);

    LogBatch batch;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const auto stamp = static_cast<std::uint32_t>(i + 1);
        progress(i);
        batch.add(QLOG_SITE("replace(factor:)"), "Replacing " + pairs[i].old.selector());
        for (const auto f : scopes[i]) {
            fileStamp_[f] = stamp;
            batch.add(QLOG_SITE("replace(factor:)"), files[f].inFile());
        }
        batch.commit();
        apply(pairs[i], lookups[i], stamp);
    }
}

void ReplacementPass::apply(const RenamePair& pair, const std::vector<Lookup>& lookups,
                            std::uint32_t stamp) {
    PieceRewriter rewriter(pair, tool_.predicate());
    // A piece can only change if it contains every old piece, so the rarest one decides.
    const std::vector<PieceRef>* narrowest = nullptr;
    for (const auto& lookup : lookups) {
        if (!lookup.anchor) {
            continue;
        }
        const auto& candidates = index_->candidates(*lookup.anchor);
        if (narrowest == nullptr || candidates.size() < narrowest->size()) {
            narrowest = &candidates;
        }
    }
    if (narrowest == nullptr) {
        auto& files = tool_.allFiles();
        for (std::uint32_t f = 0; f < files.size(); ++f) {
            for (std::uint32_t p = 0; fileStamp_[f] == stamp && p < files[f].datas().size(); ++p) {
                rewritePiece({f, p}, rewriter, stamp);
            }
        }
        return;
    }
    // Rewritten pieces are indexed again and may be appended to this very list; they have been
    // visited already, so the walk stops at the original end.
    const std::size_t count = narrowest->size();
    for (std::size_t c = 0; c < count; ++c) {
        rewritePiece((*narrowest)[c], rewriter, stamp);
    }
}

void ReplacementPass::rewritePiece(PieceRef ref, PieceRewriter& rewriter, std::uint32_t stamp) {
    auto& visited = pieceStamp_[firstPiece_[ref.file] + ref.piece];
    if (fileStamp_[ref.file] != stamp || visited == stamp) {
        return;
    }
    visited = stamp;
    if (tool_.allFiles()[ref.file].rewritePiece(ref.piece, rewriter)) {
        index_->reindex(ref);
    }
}

} // namespace quillet
