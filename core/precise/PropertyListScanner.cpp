#include "precise/PropertyListScanner.h"

#include <vector>

#include "precise/XmlReferenceRules.h"

namespace quillet {

namespace {

class PropertyListRules final : public XmlReferenceRules {
public:
    explicit PropertyListRules(bool classesNib) : classesNib_(classesNib) {}

    ValueRole attributeRole(const XmlReader& /*tag*/, std::string_view /*name*/) const override {
        return ValueRole::other;
    }

    void enter(const XmlReader& tag) override {
        Element element;
        if (!elements_.empty()) {
            Element& parent = elements_.back();
            element.actionNames = tag.name() == "dict" && parent.nextValueIsActions;
            element.actionName = tag.name() == "key" && parent.actionNames;
            parent.nextValueIsActions = false;
        }
        element.string = tag.name() == "string";
        element.key = tag.name() == "key";
        elements_.push_back(element);
    }

    ValueRole contentRole(const XmlReader& endTag) override {
        const Element& element = elements_.back();
        if (element.key && classesNib_ && endTag.content() == "ACTIONS") {
            // The dictionary that follows, in the same parent, lists actions.
            pendingActions_ = true;
        }
        if (element.actionName) {
            return ValueRole::actionName;
        }
        return element.string ? ValueRole::action : ValueRole::other;
    }

    void leave() override {
        elements_.pop_back();
        if (!elements_.empty()) {
            elements_.back().nextValueIsActions = pendingActions_;
        }
        pendingActions_ = false;
    }

private:
    struct Element {
        bool string = false;
        bool key = false;
        bool actionName = false;         // a key of an ACTIONS dictionary
        bool actionNames = false;        // an ACTIONS dictionary
        bool nextValueIsActions = false; // its last element was the key ACTIONS
    };

    bool classesNib_;
    std::vector<Element> elements_;
    bool pendingActions_ = false;
};

} // namespace

objc::SourceFacts scanPropertyList(std::string_view xml, bool classesNib) {
    PropertyListRules rules(classesNib);
    return scanXmlReferences(xml, rules);
}

} // namespace quillet
