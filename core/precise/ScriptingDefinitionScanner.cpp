#include "precise/ScriptingDefinitionScanner.h"

#include "precise/XmlReferenceRules.h"

namespace quillet {

namespace {

class ScriptingDefinitionRules final : public XmlReferenceRules {
public:
    ValueRole attributeRole(const XmlReader& tag, std::string_view name) const override {
        return tag.name() == "cocoa" && name == "method" ? ValueRole::action : ValueRole::other;
    }
    void enter(const XmlReader& /*tag*/) override {}
    ValueRole contentRole(const XmlReader& /*endTag*/) override { return ValueRole::other; }
    void leave() override {}
};

} // namespace

objc::SourceFacts scanScriptingDefinition(std::string_view xml) {
    ScriptingDefinitionRules rules;
    return scanXmlReferences(xml, rules);
}

} // namespace quillet
