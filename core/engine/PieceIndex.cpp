#include "engine/PieceIndex.h"

#include <cstring>

#include "engine/FileModel.h"

namespace quillet {

namespace {

// Letters, digits, "_", "$" and every byte of a non-ASCII character.
bool isIdentifierByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') || byte == '_' || byte == '$';
}

// The identifier run that ends right before position `colon`.
std::string_view runBefore(std::string_view text, std::size_t colon) {
    std::size_t start = colon;
    while (start > 0 && isIdentifierByte(text[start - 1])) {
        --start;
    }
    return text.substr(start, colon - start);
}

} // namespace

std::optional<std::string> PieceIndex::anchorOf(std::string_view selectorPiece) {
    std::string_view best;
    for (std::size_t i = 0; i < selectorPiece.size(); ++i) {
        if (selectorPiece[i] == ':') {
            const auto run = runBefore(selectorPiece, i);
            if (run.size() > best.size()) {
                best = run;
            }
        }
    }
    if (best.empty()) {
        return std::nullopt;
    }
    return std::string(best);
}

PieceIndex::PieceIndex(const std::vector<FileModel>& files, const std::vector<std::string>& anchors)
    : files_(files) {
    for (std::uint32_t id = 0; id < anchors.size(); ++id) {
        const auto& anchor = anchors[id];
        anchorIds_.try_emplace(anchor, id);
        longestAnchor_ = std::max(longestAnchor_, anchor.size());
    }
    postings_.resize(anchors.size());
    for (std::uint32_t f = 0; f < files.size(); ++f) {
        for (std::uint32_t p = 0; p < files[f].datas().size(); ++p) {
            index({f, p});
        }
    }
}

void PieceIndex::reindex(PieceRef ref) {
    index(ref);
}

const std::vector<std::uint32_t>& PieceIndex::anchorsEndingRun(std::string_view run) {
    if (const auto it = runs_.find(run); it != runs_.end()) {
        return it->second;
    }
    std::vector<std::uint32_t> ending;
    const std::size_t shortest = run.size() > longestAnchor_ ? run.size() - longestAnchor_ : 0;
    for (std::size_t start = shortest; start < run.size(); ++start) {
        if (const auto it = anchorIds_.find(run.substr(start)); it != anchorIds_.end()) {
            ending.push_back(it->second);
        }
    }
    return runs_.emplace(std::string(run), std::move(ending)).first->second;
}

void PieceIndex::index(PieceRef ref) {
    const std::string_view text = files_[ref.file].datas()[ref.piece];
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* colon = begin; (colon = static_cast<const char*>(std::memchr(
                                         colon, ':', static_cast<std::size_t>(end - colon))));
         ++colon) {
        const auto run = runBefore(text, static_cast<std::size_t>(colon - begin));
        if (run.empty()) {
            continue;
        }
        for (const auto anchor : anchorsEndingRun(run)) {
            auto& list = postings_[anchor];
            if (list.empty() || list.back().file != ref.file || list.back().piece != ref.piece) {
                list.push_back(ref);
            }
        }
    }
}

} // namespace quillet
