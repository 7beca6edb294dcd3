#include "precise/InterfaceFileScanner.h"

#include <vector>

#include "precise/XmlReferenceRules.h"

namespace quillet {

namespace {

// What an element of an Interface Builder 3 archive is to the actions inside it.
enum class Role {
    none,
    actionConnection,  // an IBActionConnection or IBCocoaTouchEventConnection: its label
    actionInfo,        // an IBActionInfo: its name
    actionList,        // a class description's actions: the keys of its entries
    sortedActionNames, // the keys of an action list written as an array
};

class InterfaceFileRules final : public XmlReferenceRules {
public:
    ValueRole attributeRole(const XmlReader& /*tag*/, std::string_view name) const override {
        if (name == "selector" || name == "unwindAction") {
            return ValueRole::action;
        }
        // An action list written as a dictionary keys each entry by the action.
        return name == "key" && parent() == Role::actionList ? ValueRole::action : ValueRole::other;
    }

    void enter(const XmlReader& tag) override {
        const auto className = tag.attribute("class");
        const auto key = tag.attribute("key");
        Element element;
        if (tag.name() == "object" &&
            (className.ends_with("ActionConnection") || className.ends_with("EventConnection"))) {
            element.role = Role::actionConnection;
        } else if (className == "IBActionInfo") {
            element.role = Role::actionInfo;
        } else if (key == "actions" || key == "actionInfosByName") {
            element.role = Role::actionList;
        } else if (key == "dict.sortedKeys" && parent() == Role::actionList) {
            element.role = Role::sortedActionNames;
        }
        element.namesAction = tag.name() == "string" && namesAction(parent(), key);
        elements_.push_back(element);
    }

    ValueRole contentRole(const XmlReader& /*endTag*/) override {
        return elements_.back().namesAction ? ValueRole::action : ValueRole::other;
    }

    void leave() override { elements_.pop_back(); }

private:
    struct Element {
        Role role = Role::none;
        bool namesAction = false; // a string that holds an action
    };

    static bool namesAction(Role parent, std::string_view key) {
        switch (parent) {
        case Role::actionConnection:
            return key == "label";
        case Role::actionInfo:
            return key == "name";
        case Role::actionList:
            return key.starts_with("NS.key.");
        case Role::sortedActionNames:
            return true;
        case Role::none:
            return false;
        }
        return false;
    }

    Role parent() const { return elements_.empty() ? Role::none : elements_.back().role; }

    std::vector<Element> elements_;
};

} // namespace

objc::SourceFacts scanInterfaceFile(std::string_view xml) {
    InterfaceFileRules rules;
    return scanXmlReferences(xml, rules);
}

} // namespace quillet
