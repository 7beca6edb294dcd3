#pragma once

#include <string>

#include "engine/ProjectFile.h"
#include "precise/SourceKind.h"

namespace quillet {

// One file as the precise rewrite holds it: its whole text, written back in the encoding it was
// read in, so that every byte not rewritten stays as it was. An ignored file is read for what it
// declares and uses, but never written; nor is a binary one.
class SourceFile : public ProjectFile {
public:
    SourceFile(std::string inPath, fs::SourceRead read, bool ignored);
    // A file that may be text or binary (a .plist, a compiled nib): as text when it is text,
    // otherwise its bytes as they are, for reading only.
    static SourceFile readTextOrBinary(std::string inPath, bool ignored);

    bool ignored() const { return ignored_; }
    SourceKind kind() const { return kind_; }
    bool binary() const { return binary_; }

    const std::string& text() const { return text_; }
    void setText(std::string text);

    std::string decodedText() const override { return text_; }
    bool mayChangeOnDisk() const override;

protected:
    std::string contents() const override;

private:
    std::string text_;
    SourceKind kind_;
    bool ignored_;
    bool binary_ = false; // text() holds the file's bytes
    bool changed_ = false;
};

} // namespace quillet
