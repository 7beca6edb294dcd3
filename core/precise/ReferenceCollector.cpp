#include "precise/ReferenceCollector.h"

#include "objc/SelectorText.h"
#include "precise/XmlReader.h"

namespace quillet {

namespace {

// Whether `text` is the name of a one-keyword selector without its colon: "done".
bool isActionName(std::string_view text) {
    return !text.empty() && text.back() != ':' && objc::isKeywordSelector(std::string(text) + ":");
}

} // namespace

void ReferenceCollector::plain(std::string_view text, std::size_t offset, ValueRole role) {
    if (role != ValueRole::other && objc::isKeywordSelector(text)) {
        add(std::string(text), objc::UseKind::interfaceAction, offset, text.size());
    } else if (role == ValueRole::actionName && isActionName(text)) {
        add(std::string(text) + ":", objc::UseKind::actionName, offset, text.size());
    } else {
        fixed(text, role);
    }
}

void ReferenceCollector::xml(std::string_view raw, std::size_t offset, ValueRole role) {
    if (raw.find_first_of("<&") == std::string_view::npos) {
        plain(raw, offset, role);
    } else {
        fixed(XmlReader::decoded(raw), role);
    }
}

void ReferenceCollector::fixed(std::string_view text, ValueRole role) {
    if (objc::isKeywordSelector(text)) {
        add(std::string(text), objc::UseKind::fixedText, 0, 0);
    } else if (role == ValueRole::actionName && isActionName(text)) {
        add(std::string(text) + ":", objc::UseKind::fixedText, 0, 0);
    }
}

void ReferenceCollector::problem(std::string text) {
    facts_.problems.push_back(std::move(text));
}

void ReferenceCollector::add(std::string selector, objc::UseKind kind, std::size_t offset,
                             std::size_t length) {
    objc::SelectorUse use;
    use.selector = std::move(selector);
    use.kind = kind;
    use.firstSpan = static_cast<std::uint32_t>(facts_.spans.size());
    if (kind != objc::UseKind::fixedText) {
        use.spanCount = 1;
        facts_.spans.push_back(
            {static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length)});
    }
    facts_.uses.push_back(std::move(use));
}

} // namespace quillet
