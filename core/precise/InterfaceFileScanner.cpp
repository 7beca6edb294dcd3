#include "precise/InterfaceFileScanner.h"

#include "objc/SelectorText.h"

namespace quillet {

namespace {

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

objc::SourceFacts scanInterfaceFile(std::string_view xml) {
    static constexpr std::string_view attribute = "selector=";
    objc::SourceFacts facts;
    for (auto at = xml.find(attribute); at != std::string_view::npos;
         at = xml.find(attribute, at + attribute.size())) {
        const auto quote = at + attribute.size();
        if (at == 0 || !isXmlSpace(xml[at - 1]) || quote >= xml.size() ||
            (xml[quote] != '"' && xml[quote] != '\'')) {
            continue; // part of another attribute's name, or of text
        }
        const auto close = xml.find(xml[quote], quote + 1);
        if (close == std::string_view::npos) {
            break;
        }
        const auto value = xml.substr(quote + 1, close - quote - 1);
        if (!objc::isKeywordSelector(value)) {
            continue;
        }
        objc::SelectorUse use;
        use.kind = objc::UseKind::interfaceAction;
        use.selector = std::string(value);
        use.firstSpan = static_cast<std::uint32_t>(facts.spans.size());
        use.spanCount = 1;
        facts.spans.push_back(
            {static_cast<std::uint32_t>(quote + 1), static_cast<std::uint32_t>(value.size())});
        facts.uses.push_back(std::move(use));
    }
    return facts;
}

} // namespace quillet
