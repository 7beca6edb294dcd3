#include "precise/OwnPropertyNames.h"

#include "precise/ClassFamily.h"
#include "precise/ReservedWords.h"
#include "precise/RuntimeSelectors.h"

namespace quillet {

namespace {

using objc::Container;
using Kind = ProtectionReason::Kind;

// Superclasses and protocols of classes whose properties are read and written by name: Core
// Data, Realm, Parse and the common JSON model libraries.
constexpr std::string_view mappedBases[] = {"NSManagedObject", "RLMObject", "RLMObjectBase",
                                            "PFObject",        "JSONModel", "MTLModel"};
constexpr std::string_view mappedProtocols[] = {"MTLJSONSerializing", "YYModel", "JSONModel"};

// Fields of the SDK's structures, written with dot syntax like a property.
constexpr std::string_view structureFields[] = {
    "origin", "size",  "x",        "y",         "width",      "height",   "location",
    "length", "top",   "left",     "bottom",    "right",      "leading",  "trailing",
    "dx",     "dy",    "latitude", "longitude", "horizontal", "vertical", "a",
    "b",      "c",     "d",        "tx",        "ty",         "value",    "timescale",
    "flags",  "epoch", "start",    "duration",
};

} // namespace

OwnPropertyNames::OwnPropertyNames(const std::vector<SourceFile>& files, const ProjectIndex& index,
                                   const SelectorSet& userList, const SelectorSet* sdk)
    : files_(files), index_(index) {
    findCandidates();
    keepNamesTakenElsewhere(userList, sdk);
    scan_ = std::make_unique<PropertyNameScan>(files_, index_, candidates_);
    keepByClass();
    keepDerivedAccessors();
    keepWhatFilesKeep();
}

void OwnPropertyNames::findCandidates() {
    SelectorSet implemented; // classes with an @implementation the run writes
    SelectorSet protocols;   // protocols defined where the run writes
    for (std::size_t f = 0; f < files_.size(); ++f) {
        if (files_[f].ignored() || !index_.parsed(f)) {
            continue;
        }
        for (const auto& container : index_.factsOf(f).containers) {
            if (container.kind == Container::Kind::implementation && !container.category) {
                implemented.insert(container.name);
            } else if (container.kind == Container::Kind::protocol) {
                protocols.insert(container.name);
            }
        }
    }
    for (std::size_t f = 0; f < files_.size(); ++f) {
        if (files_[f].ignored() || !index_.parsed(f)) {
            continue;
        }
        for (const auto& container : index_.factsOf(f).containers) {
            const bool own = container.kind == Container::Kind::protocol
                                 ? protocols.contains(container.name)
                                 : implemented.contains(container.name);
            if (!own || container.kind == Container::Kind::implementation) {
                continue;
            }
            for (const auto& property : container.properties) {
                auto [it, added] = positionOf_.try_emplace(property.name, names_.size());
                if (added) {
                    names_.push_back({TypeName::Kind::property, property.name, {}});
                    candidates_.push_back({property.name, true});
                }
                classesOf_[property.name].push_back(container.name);
                if (property.customSetter) {
                    candidates_[it->second].setterFollows = false;
                }
                if (property.customGetter || property.customSetter) {
                    keep(it->second, {Kind::sharedName,
                                      "a property whose getter or setter has a name of its own (" +
                                          container.name + ")"});
                }
                if (property.inspectable) {
                    keep(it->second, {Kind::keyString, "Interface Builder (IBInspectable in " +
                                                           container.name + ")"});
                }
            }
        }
    }
}

void OwnPropertyNames::keep(std::size_t name, ProtectionReason reason) {
    if (!names_[name].protection) {
        names_[name].protection = std::move(reason);
    }
}

void OwnPropertyNames::keepNamesTakenElsewhere(const SelectorSet& userList,
                                               const SelectorSet* sdk) {
    SelectorSet setterStarts; // "setTitle" of every SDK selector "setTitle:forState:"
    if (sdk != nullptr) {
        for (const auto& selector : *sdk) {
            if (selector.starts_with("set")) {
                setterStarts.insert(selector.substr(0, selector.find(':')));
            }
        }
    }
    SelectorSet typeNames; // classes and protocols
    for (std::size_t f = 0; f < files_.size(); ++f) {
        for (const auto& container : index_.factsOf(f).containers) {
            typeNames.insert(container.name);
        }
    }
    for (std::size_t n = 0; n < names_.size(); ++n) {
        const std::string& name = names_[n].name;
        const std::string setter = setterKeyword(name) + ":";
        if (userList.contains(name) || userList.contains(setter)) {
            keep(n, {Kind::userList, {}});
        }
        if (sdk != nullptr && (sdk->contains(name) || sdk->contains(setter) ||
                               setterStarts.contains(setter.substr(0, setter.size() - 1)))) {
            keep(n, {Kind::sdk, {}});
        }
        if (isCalledByRuntime(name) || isCalledByRuntime(setter)) {
            keep(n, {Kind::runtime, {}});
        }
        if (isReservedWord(name) || startsMemoryFamily(name) ||
            std::find(std::begin(structureFields), std::end(structureFields), name) !=
                std::end(structureFields)) {
            keep(n, {Kind::sharedName, "a word of the language or a field of an SDK structure"});
        }
        if (typeNames.contains(name)) {
            keep(n, {Kind::sharedName, "a class or protocol"});
        }
    }
}

void OwnPropertyNames::keepByClass() {
    const ClassFamily family(index_, files_.size());
    SelectorSet mapped;
    std::string mapsAny; // a file whose code reads any class's properties by name
    for (std::size_t f = 0; f < files_.size(); ++f) {
        const auto& facts = scan_->factsOf(f);
        mapped.insert(facts.mappedClasses.begin(), facts.mappedClasses.end());
        if (facts.mapsAnyClass && mapsAny.empty()) {
            mapsAny = files_[f].inPath();
        }
    }
    for (std::size_t n = 0; n < names_.size(); ++n) {
        if (!mapsAny.empty()) {
            keep(n, {Kind::keyString, "code that reads properties by name in " + mapsAny});
        }
        for (const auto& owner : classesOf_[names_[n].name]) {
            if (auto archiving = family.firstWith(owner, codingProtocols, {}, archivingSelectors)) {
                keep(n, {Kind::archivedName, std::move(*archiving)});
            }
            if (auto base = family.firstWith(owner, mappedProtocols, mappedBases)) {
                keep(n,
                     {Kind::keyString, "a class mapped by its properties' names (" + *base + ")"});
            }
            if (auto reader = family.firstAmong(owner, mapped)) {
                keep(n, {Kind::keyString, "code that reads " + *reader + "'s properties by name"});
            }
        }
    }
}

void OwnPropertyNames::keepDerivedAccessors() {
    text::StringMap<std::string> accessorOf; // capitalised key -> a selector derived from it
    for (const auto& selector : index_.selectorsInUse()) {
        for (auto& key : keyValueCodingKeys(selector)) {
            accessorOf.try_emplace(std::move(key), selector);
        }
    }
    for (std::size_t n = 0; n < names_.size(); ++n) {
        if (const auto it = accessorOf.find(keyOfName(names_[n].name)); it != accessorOf.end()) {
            keep(n, {Kind::keyString, "the key-value coding accessor " + it->second});
        }
    }
}

void OwnPropertyNames::keepWhatFilesKeep() {
    for (std::size_t f = 0; f < files_.size(); ++f) {
        for (const auto& [name, reason] : scan_->factsOf(f).keeps) {
            keep(name, reason);
        }
    }
}

} // namespace quillet
