#include "engine/FileModel.h"

#include <algorithm>

#include "engine/ImportLineParser.h"
#include "engine/LiteralRename.h"
#include "engine/PieceRewriter.h"
#include "log/Log.h"
#include "text/Text.h"

namespace quillet {

bool HeaderSet::contains(std::string_view name) const {
    const auto node = tool_->importGraph().nodeOf(name);
    return node && names_.contains(*node);
}

std::vector<std::string> HeaderSet::names() const {
    std::vector<std::string> list;
    names_.forEach([&](std::size_t node) {
        list.push_back(tool_->importGraph().nameOf(static_cast<std::uint32_t>(node)));
    });
    std::sort(list.begin(), list.end());
    return list;
}

void FileModel::load(std::string inPath, const LiteralRename& tool, fs::SourceRead read,
                     ImportLineParser& imports) {
    tool_ = &tool;
    const auto text = takeRead(std::move(inPath), std::move(read));
    if (!text) {
        return;
    }
    for (const auto line : text::splitViews(*text, '\n')) {
        if (auto name = imports.headerName(line)) {
            importFile_.push_back(std::move(*name));
        }
    }
    datas_ = text::split(*text, ';');
}

const HeaderSet& FileModel::allHeaderFile() const {
    if (!allHeaderFile_) {
        allHeaderFile_.emplace(*tool_, tool_->importGraph().closureOf(*this));
    }
    return *allHeaderFile_;
}

bool FileModel::sees(const MethodModel& method) const {
    return allHeaderFile().contains(method.file) || inFile() == method.file;
}

void FileModel::rewrite(const MethodModel& old, const MethodModel& new_) {
    if (!sees(old)) {
        return;
    }
    QLOG_AS("replace(factor:)", inFile());
    PieceRewriter rewriter(RenamePair{old, new_}, tool_->predicate());
    for (std::size_t index = 0; index < datas_.size(); ++index) {
        rewritePiece(index, rewriter);
    }
}

bool FileModel::rewritePiece(std::size_t index, PieceRewriter& rewriter) {
    const bool changed = rewriter.rewrite(datas_[index], separator());
    changed_ = changed_ || changed;
    return changed;
}

std::string FileModel::decodedText() const {
    return text::join(datas_, ";");
}

bool FileModel::mayChangeOnDisk() const {
    return readable() && (changed_ || utf16());
}

std::string FileModel::contents() const {
    return bom() + text::join(datas_, ";");
}

} // namespace quillet
