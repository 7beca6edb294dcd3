#pragma once

#include <string_view>

#include "objc/SourceFacts.h"
#include "precise/ReferenceCollector.h"
#include "precise/XmlReader.h"

namespace quillet {

// Where an XML format names actions, told to scanXmlReferences() element by element. Every
// attribute and leaf element content that is not an action, but spells a selector, keeps it.
class XmlReferenceRules {
public:
    virtual ~XmlReferenceRules() = default;

    // What the attribute `name` of the start tag `tag` holds; asked before enter(tag).
    virtual ValueRole attributeRole(const XmlReader& tag, std::string_view name) const = 0;
    // A start tag was read.
    virtual void enter(const XmlReader& tag) = 0;
    // What the element that `endTag` closes holds, when it holds no element; asked before
    // leave().
    virtual ValueRole contentRole(const XmlReader& endTag) = 0;
    // An end tag was read.
    virtual void leave() = 0;
};

// The selectors an XML document names, each where `rules` place it; a document that is not well
// formed has a problem and what was read before it.
objc::SourceFacts scanXmlReferences(std::string_view xml, XmlReferenceRules& rules);

} // namespace quillet
