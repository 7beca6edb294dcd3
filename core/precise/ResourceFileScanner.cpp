#include "precise/ResourceFileScanner.h"

#include "precise/BinaryPropertyList.h"
#include "precise/ClassesNibScanner.h"
#include "precise/InterfaceFileScanner.h"
#include "precise/PropertyListScanner.h"
#include "precise/ReferenceCollector.h"
#include "precise/ScriptingDefinitionScanner.h"
#include "precise/SelectorRunScanner.h"
#include "precise/XmlReader.h"

namespace quillet {

namespace {

objc::SourceFacts selectorRuns(std::string_view bytes) {
    ReferenceCollector references;
    collectSelectorRuns(bytes, references);
    return references.take();
}

objc::SourceFacts scanBinary(std::string_view bytes) {
    if (!bytes.starts_with(BinaryPropertyList::magic)) {
        return selectorRuns(bytes);
    }
    const BinaryPropertyList list(bytes);
    ReferenceCollector references;
    for (const auto& text : list.strings()) {
        references.fixed(text);
    }
    if (!list.problem().empty()) {
        references.problem(list.problem());
    }
    return references.take();
}

// A .nib or .plist that is text: an Interface Builder 3 archive, an XML property list, an
// IB2 classes.nib, or something only looked through.
objc::SourceFacts scanTextData(std::string_view fileName, std::string_view text) {
    const auto start = text.find_first_not_of(" \t\r\n");
    const bool xml = start != std::string_view::npos && text[start] == '<';
    const bool classesNib = fileName == "classes.nib";
    if (!xml) {
        return classesNib ? scanClassesNib(text) : selectorRuns(text);
    }
    const auto root = XmlReader::rootName(text);
    if (root == "archive" || root == "document") {
        return scanInterfaceFile(text);
    }
    if (root == "plist") {
        return scanPropertyList(text, classesNib);
    }
    return selectorRuns(text);
}

} // namespace

bool isResourcePath(std::string_view path) {
    return path.ends_with(".xib") || path.ends_with(".storyboard") || path.ends_with(".sdef") ||
           path.ends_with(".xcdatamodel/contents") || mayBeBinary(path);
}

bool mayBeBinary(std::string_view path) {
    return path.ends_with(".nib") || path.ends_with(".plist");
}

objc::SourceFacts scanResourceFile(std::string_view fileName, std::string_view content,
                                   bool binary) {
    if (binary) {
        return scanBinary(content);
    }
    if (fileName.ends_with(".xib") || fileName.ends_with(".storyboard")) {
        return scanInterfaceFile(content);
    }
    if (fileName.ends_with(".sdef")) {
        return scanScriptingDefinition(content);
    }
    return scanTextData(fileName, content);
}

} // namespace quillet
