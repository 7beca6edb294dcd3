#pragma once

#include <string>

#include "engine/ProjectFile.h"
#include "precise/SourceKind.h"

namespace quillet {

// One file as the precise rewrite holds it: its whole text, written back in the encoding it was
// read in, so that every byte not rewritten stays as it was. An ignored file is read for what it
// declares and uses, but never written; nor is a binary one, nor one whose encoding is unsure.
class SourceFile : public ProjectFile {
public:
    SourceFile(std::string inPath, fs::SourceRead read, bool ignored);
    // A file that may be text or binary (a .plist, a compiled nib): as text when it is text,
    // otherwise its bytes as they are, for reading only.
    static SourceFile readTextOrBinary(std::string inPath, bool ignored);
    // A source file: as UTF-8 or UTF-16 text; else as text in the older encoding it is in,
    // written back in it; else, when that encoding cannot be told, its bytes, to learn what
    // they may name, never written.
    static SourceFile readSource(std::string inPath, bool ignored);

    bool ignored() const { return ignored_; }
    SourceKind kind() const { return kind_; }
    bool binary() const { return form_ == Form::bytes; }
    // Holds the bytes of a source file whose encoding cannot be told: what it names is known
    // only roughly.
    bool encodingUnsure() const { return form_ == Form::unsureBytes; }

    const std::string& text() const { return text_; }
    void setText(std::string text);

    std::string decodedText() const override { return text_; }
    bool mayChangeOnDisk() const override;
    std::string contents() const override;

private:
    // What text() holds: the file's text, or its bytes (a binary file, or a source file in an
    // encoding that cannot be told).
    enum class Form { text, bytes, unsureBytes };

    std::string text_;
    SourceKind kind_;
    bool ignored_;
    Form form_ = Form::text;
    std::string legacyCharset_; // the older encoding the text was read from, if any
    bool changed_ = false;
};

} // namespace quillet
