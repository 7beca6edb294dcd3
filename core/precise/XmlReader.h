#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// One attribute of a start tag, its value as written (entities not replaced).
struct XmlAttribute {
    std::string_view name;
    std::string_view value;
    std::size_t valueOffset = 0; // into the document
};

// Reads the elements of an XML document in one pass, without building a tree: start tags with
// their attributes, and end tags with the raw content of the element they close. Comments,
// processing instructions, CDATA sections and the document type are passed over whole. Stops at
// the first thing that is not well formed (unclosed markup, an end tag that does not match).
class XmlReader {
public:
    enum class Event { startTag, endTag, end, malformed };

    explicit XmlReader(std::string_view xml) : xml_(xml) {}

    Event next();

    // Of the tag just read.
    std::string_view name() const { return name_; }
    // Of the start tag just read.
    const std::vector<XmlAttribute>& attributes() const { return attributes_; }
    std::string_view attribute(std::string_view name) const;
    // Of the end tag just read: whether the element holds no element, and what is written
    // between its tags, as written.
    bool leaf() const { return leaf_; }
    std::string_view content() const { return xml_.substr(contentOffset_, contentLength_); }
    std::size_t contentOffset() const { return contentOffset_; }
    // After Event::malformed: what is wrong and on which line.
    const std::string& problem() const { return problem_; }

    // The name of the document's first element; empty when there is none.
    static std::string_view rootName(std::string_view xml);
    // Raw text as an XML reader sees it: entities replaced, CDATA sections unwrapped, comments
    // and processing instructions dropped. A reference to a character beyond ASCII, or to an
    // unknown entity, stays as written.
    static std::string decoded(std::string_view raw);

private:
    struct Open {
        std::string_view name;
        std::size_t contentOffset;
        bool leaf;
    };

    Event skipPast(std::string_view terminator, std::string_view what);
    Event readDocumentType();
    Event readEndTag();
    Event readStartTag();
    Event closeElement(std::size_t contentEnd);
    Event fail(std::initializer_list<std::string_view> what);

    std::string_view xml_;
    std::size_t at_ = 0;
    std::vector<Open> open_;
    bool pendingEnd_ = false; // a start tag that closed itself: its end comes next
    std::string_view name_;
    std::vector<XmlAttribute> attributes_;
    bool leaf_ = false;
    std::size_t contentOffset_ = 0;
    std::size_t contentLength_ = 0;
    std::string problem_;
};

} // namespace quillet
