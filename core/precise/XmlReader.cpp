#include "precise/XmlReader.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace quillet {

namespace {

constexpr std::size_t longestEntity = 12; // "&#x0000003A;"

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool endsName(char c) {
    return isXmlSpace(c) || c == '/' || c == '>' || c == '=' || c == '<' || c == '"' || c == '\'';
}

std::string_view nameAt(std::string_view xml, std::size_t& at) {
    const std::size_t start = at;
    while (at < xml.size() && !endsName(xml[at])) {
        ++at;
    }
    return xml.substr(start, at - start);
}

void skipSpaces(std::string_view xml, std::size_t& at) {
    while (at < xml.size() && isXmlSpace(xml[at])) {
        ++at;
    }
}

// The character an entity stands for, when it is one of XML's own or an ASCII reference.
std::optional<char> entityCharacter(std::string_view entity) {
    if (entity == "amp") {
        return '&';
    }
    if (entity == "lt") {
        return '<';
    }
    if (entity == "gt") {
        return '>';
    }
    if (entity == "quot") {
        return '"';
    }
    if (entity == "apos") {
        return '\'';
    }
    if (entity.size() < 2 || entity[0] != '#') {
        return std::nullopt;
    }
    const bool hex = entity[1] == 'x' || entity[1] == 'X';
    const auto digits = entity.substr(hex ? 2 : 1);
    unsigned code = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        code == 0 || code >= 0x80) {
        return std::nullopt;
    }
    return static_cast<char>(code);
}

} // namespace

std::string_view XmlReader::attribute(std::string_view name) const {
    const auto it = std::find_if(attributes_.begin(), attributes_.end(),
                                 [&](const XmlAttribute& a) { return a.name == name; });
    return it == attributes_.end() ? std::string_view() : it->value;
}

XmlReader::Event XmlReader::next() {
    if (pendingEnd_) {
        pendingEnd_ = false;
        return closeElement(at_);
    }
    while (true) {
        const auto lt = xml_.find('<', at_);
        if (lt == std::string_view::npos) {
            at_ = xml_.size();
            if (!open_.empty()) {
                return fail({"<", open_.back().name, "> is not closed"});
            }
            return Event::end;
        }
        at_ = lt;
        const auto rest = xml_.substr(lt);
        Event skipped = Event::end;
        if (rest.starts_with("<!--")) {
            skipped = skipPast("-->", "a comment");
        } else if (rest.starts_with("<![CDATA[")) {
            skipped = skipPast("]]>", "a CDATA section");
        } else if (rest.starts_with("<?")) {
            skipped = skipPast("?>", "a processing instruction");
        } else if (rest.starts_with("<!")) {
            skipped = readDocumentType();
        } else if (rest.starts_with("</")) {
            return readEndTag();
        } else {
            return readStartTag();
        }
        if (skipped == Event::malformed) {
            return skipped;
        }
    }
}

XmlReader::Event XmlReader::skipPast(std::string_view terminator, std::string_view what) {
    const auto end = xml_.find(terminator, at_);
    if (end == std::string_view::npos) {
        return fail({what, " is not closed"});
    }
    at_ = end + terminator.size();
    return Event::end;
}

// <!DOCTYPE name ... [internal subset]>: quoted text and the subset may hold '>'.
XmlReader::Event XmlReader::readDocumentType() {
    int subsetDepth = 0;
    for (std::size_t p = at_ + 2; p < xml_.size(); ++p) {
        const char c = xml_[p];
        if (c == '"' || c == '\'') {
            p = xml_.find(c, p + 1);
            if (p == std::string_view::npos) {
                break;
            }
        } else if (c == '[') {
            ++subsetDepth;
        } else if (c == ']') {
            --subsetDepth;
        } else if (c == '>' && subsetDepth <= 0) {
            at_ = p + 1;
            return Event::end;
        }
    }
    return fail({"a document type declaration is not closed"});
}

XmlReader::Event XmlReader::readEndTag() {
    const std::size_t contentEnd = at_;
    std::size_t p = at_ + 2;
    const auto name = nameAt(xml_, p);
    skipSpaces(xml_, p);
    if (p >= xml_.size() || xml_[p] != '>') {
        return fail({"an end tag is not closed"});
    }
    if (open_.empty() || open_.back().name != name) {
        return fail({"</", name, "> closes no open element of that name"});
    }
    at_ = p + 1;
    return closeElement(contentEnd);
}

XmlReader::Event XmlReader::readStartTag() {
    std::size_t p = at_ + 1;
    const auto name = nameAt(xml_, p);
    if (name.empty()) {
        return fail({"a '<' that starts no tag"});
    }
    attributes_.clear();
    bool closesItself = false;
    while (true) {
        skipSpaces(xml_, p);
        if (p >= xml_.size()) {
            return fail({"<", name, " is not closed"});
        }
        if (xml_[p] == '>') {
            ++p;
            break;
        }
        if (xml_.substr(p).starts_with("/>")) {
            p += 2;
            closesItself = true;
            break;
        }
        const auto attributeName = nameAt(xml_, p);
        skipSpaces(xml_, p);
        if (attributeName.empty() || p >= xml_.size() || xml_[p] != '=') {
            return fail({"an attribute of <", name, "> has no value"});
        }
        ++p;
        skipSpaces(xml_, p);
        const char quote = p < xml_.size() ? xml_[p] : '\0';
        const auto close =
            quote == '"' || quote == '\'' ? xml_.find(quote, p + 1) : std::string_view::npos;
        if (close == std::string_view::npos) {
            return fail({"an attribute value of <", name, "> is not quoted"});
        }
        attributes_.push_back({attributeName, xml_.substr(p + 1, close - p - 1), p + 1});
        p = close + 1;
    }
    if (!open_.empty()) {
        open_.back().leaf = false;
    }
    open_.push_back({name, p, true});
    at_ = p;
    name_ = name;
    pendingEnd_ = closesItself;
    return Event::startTag;
}

XmlReader::Event XmlReader::closeElement(std::size_t contentEnd) {
    const Open element = open_.back();
    open_.pop_back();
    name_ = element.name;
    leaf_ = element.leaf;
    contentOffset_ = element.contentOffset;
    contentLength_ = contentEnd - element.contentOffset;
    return Event::endTag;
}

XmlReader::Event XmlReader::fail(std::initializer_list<std::string_view> what) {
    const auto end = xml_.begin() + static_cast<std::ptrdiff_t>(at_);
    problem_ = "line " + std::to_string(std::count(xml_.begin(), end, '\n') + 1) + ": ";
    for (const auto piece : what) {
        problem_.append(piece);
    }
    return Event::malformed;
}

std::string_view XmlReader::rootName(std::string_view xml) {
    XmlReader reader(xml);
    while (true) {
        switch (reader.next()) {
        case Event::startTag:
            return reader.name();
        case Event::endTag:
            continue;
        case Event::end:
        case Event::malformed:
            return {};
        }
    }
}

std::string XmlReader::decoded(std::string_view raw) {
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size();) {
        const auto rest = raw.substr(i);
        if (rest.starts_with("<!--") || rest.starts_with("<?")) {
            const auto terminator = rest[1] == '!' ? std::string_view("-->") : "?>";
            const auto end = rest.find(terminator);
            i = end == std::string_view::npos ? raw.size() : i + end + terminator.size();
        } else if (rest.starts_with("<![CDATA[")) {
            const auto end = rest.find("]]>");
            text.append(rest.substr(9, end == std::string_view::npos ? rest.npos : end - 9));
            i = end == std::string_view::npos ? raw.size() : i + end + 3;
        } else if (rest[0] == '&') {
            // No entity XML knows is longer, and a bounded look keeps this linear.
            const auto semicolon = rest.substr(0, longestEntity).find(';');
            const auto character = semicolon == std::string_view::npos
                                       ? std::nullopt
                                       : entityCharacter(rest.substr(1, semicolon - 1));
            if (character) {
                text += *character;
                i += semicolon + 1;
            } else {
                text += '&';
                ++i;
            }
        } else {
            text += rest[0];
            ++i;
        }
    }
    return text;
}

} // namespace quillet
