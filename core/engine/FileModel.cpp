#include "engine/FileModel.h"

#include <algorithm>

#include "engine/ImportLineParser.h"
#include "engine/PieceRewriter.h"
#include "engine/RenameTool.h"
#include "fs/AtomicFile.h"
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

void FileModel::load(std::string inPath, const RenameTool& tool, fs::SourceRead read,
                     ImportLineParser& imports) {
    inPath_ = std::move(inPath);
    tool_ = &tool;
    readable_ = read.readable;
    problem_ = std::move(read.problem);
    if (!readable_) {
        return;
    }
    const std::string& text = read.source.text;
    for (const auto line : text::splitViews(text, '\n')) {
        if (auto name = imports.headerName(line)) {
            importFile_.push_back(std::move(*name));
        }
    }
    datas_ = text::split(text, ';');
    bom_ = std::move(read.source.bom);
    originalSize_ = read.source.originalSize;
    utf16_ = read.source.utf16;
}

void FileModel::loadWhole(std::string inPath, const RenameTool& tool, fs::SourceRead read,
                          bool ignored) {
    inPath_ = std::move(inPath);
    tool_ = &tool;
    whole_ = true;
    ignored_ = ignored;
    readable_ = read.readable;
    problem_ = std::move(read.problem);
    if (!readable_) {
        return;
    }
    text_ = std::move(read.source.text);
    bom_ = std::move(read.source.bom);
    originalSize_ = read.source.originalSize;
    utf16_ = read.source.utf16;
}

void FileModel::setText(std::string text) {
    text_ = std::move(text);
    changed_ = true;
}

std::string FileModel::decodedText() const {
    return whole_ ? text_ : text::join(datas_, ";");
}

bool FileModel::isHeader() const {
    return inFile_.ends_with(".h");
}

bool FileModel::isInterfaceFile() const {
    return inFile_.ends_with(".xib") || inFile_.ends_with(".storyboard");
}

const HeaderSet& FileModel::allHeaderFile() const {
    if (!allHeaderFile_) {
        allHeaderFile_.emplace(*tool_, tool_->importGraph().closureOf(*this));
    }
    return *allHeaderFile_;
}

bool FileModel::sees(const MethodModel& method) const {
    return allHeaderFile().contains(method.file) || inFile_ == method.file;
}

void FileModel::rewrite(const MethodModel& old, const MethodModel& new_) {
    if (!sees(old)) {
        return;
    }
    QLOG_AS("replace(factor:)", inFile_);
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

std::string FileModel::contents() const {
    if (!whole_) {
        return bom_ + text::join(datas_, ";");
    }
    if (utf16_) {
        const std::string bom = *utf16_ == text::ByteOrder::littleEndian ? "\xFF\xFE" : "\xFE\xFF";
        return bom + text::utf8ToUtf16(text_, *utf16_);
    }
    return bom_ + text_;
}

bool FileModel::mayChangeOnDisk() const {
    // Pieces of a UTF-16 file are written back as UTF-8 even when no piece changed.
    return readable_ && !ignored_ && (changed_ || (!whole_ && utf16_));
}

FileModel::WriteResult FileModel::writeBack() const {
    if (!readable_) {
        return {WriteOutcome::notRead, {}};
    }
    if (!mayChangeOnDisk()) {
        return {WriteOutcome::unchanged, {}}; // the text is the bytes read
    }
    const std::string bytes = contents();
    // Renames can cancel out; only then can the size be the same and the bytes too.
    if (bytes.size() == originalSize_ && fs::SourceReader::holds(inPath_, bytes)) {
        return {WriteOutcome::unchanged, {}};
    }
    if (auto error = fs::writeFileAtomically(inPath_, bytes)) {
        return {WriteOutcome::failed, std::move(*error)};
    }
    return {WriteOutcome::written, {}};
}

} // namespace quillet
