#include "precise/SourceFile.h"

#include "text/LegacyEncoding.h"

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

SourceFile SourceFile::readTextOrBinary(std::string inPath, bool ignored) {
    auto bytes = fs::SourceReader::readBytes(inPath);
    if (!bytes) {
        return SourceFile(std::move(inPath), fs::SourceRead(bytes.error()), ignored);
    }
    auto text = fs::SourceReader::decode(*bytes);
    if (text) {
        return SourceFile(std::move(inPath), std::move(text), ignored);
    }
    fs::SourceText raw;
    raw.originalSize = bytes->size();
    raw.text = std::move(*bytes);
    SourceFile file(std::move(inPath), std::move(raw), ignored);
    file.form_ = Form::bytes;
    return file;
}

SourceFile SourceFile::readSource(std::string inPath, bool ignored) {
    auto bytes = fs::SourceReader::readBytes(inPath);
    if (!bytes) {
        return SourceFile(std::move(inPath), fs::SourceRead(bytes.error()), ignored);
    }
    auto text = fs::SourceReader::decode(*bytes);
    if (text || bytes->find('\0') != std::string::npos) {
        return SourceFile(std::move(inPath), std::move(text), ignored);
    }
    fs::SourceText read;
    read.originalSize = bytes->size();
    auto legacy = text::decodeLegacy(*bytes);
    read.text = legacy ? std::move(legacy->utf8) : std::move(*bytes);
    SourceFile file(std::move(inPath), std::move(read), ignored);
    if (legacy) {
        file.legacyCharset_ = std::move(legacy->charset);
    } else {
        file.form_ = Form::unsureBytes;
    }
    return file;
}

void SourceFile::setText(std::string text) {
    text_ = std::move(text);
    changed_ = true;
}

bool SourceFile::mayChangeOnDisk() const {
    return readable() && !ignored_ && form_ == Form::text && changed_;
}

std::string SourceFile::contents() const {
    if (!legacyCharset_.empty()) {
        // Every byte read converted there and back unchanged, and a rename changes only ASCII
        // keywords, which every such encoding writes as they are.
        return text::encodeLegacy(text_, legacyCharset_).value();
    }
    if (utf16()) {
        const std::string bom = *utf16() == text::ByteOrder::littleEndian ? "\xFF\xFE" : "\xFE\xFF";
        return bom + text::utf8ToUtf16(text_, *utf16());
    }
    return bom() + text_;
}

} // namespace quillet
