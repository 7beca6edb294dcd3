#include "precise/SourceFile.h"

namespace quillet {

namespace {

std::string fileNameOf(const std::string& fullPath) {
    const auto slash = fullPath.rfind('/');
    return slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
}

} // namespace

SourceFile::SourceFile(std::string inPath, fs::SourceRead read, bool ignored)
    : ProjectFile(fileNameOf(inPath)), kind_(sourceKindOf(inPath)), ignored_(ignored) {
    text_ = takeRead(std::move(inPath), std::move(read)).value_or(std::string());
}

void SourceFile::setText(std::string text) {
    text_ = std::move(text);
    changed_ = true;
}

bool SourceFile::mayChangeOnDisk() const {
    return readable() && !ignored_ && changed_;
}

std::string SourceFile::contents() const {
    if (utf16()) {
        const std::string bom = *utf16() == text::ByteOrder::littleEndian ? "\xFF\xFE" : "\xFE\xFF";
        return bom + text::utf8ToUtf16(text_, *utf16());
    }
    return bom() + text_;
}

} // namespace quillet
