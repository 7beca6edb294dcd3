#include "precise/OwnTypeNames.h"

#include "precise/ClassFamily.h"
#include "text/Text.h"

namespace quillet {

namespace {

using objc::Container;
using Kind = ProtectionReason::Kind;

bool isClassBlock(const Container& container) {
    return container.kind != Container::Kind::protocol && !container.category;
}

// The name of the class an interface file is named after: "Cart" for Cart.xib, Cart~ipad.xib,
// Cart.storyboard, Cart.nib and the files inside a compiled Cart.nib folder.
std::string_view nibStem(std::string_view path) {
    for (const std::string_view extension : {".nib/", ".xib", ".storyboard", ".nib"}) {
        const auto at = path.rfind(extension);
        if (at == std::string_view::npos ||
            (extension.back() != '/' && at + extension.size() != path.size())) {
            continue;
        }
        std::string_view stem = path.substr(0, at);
        stem = stem.substr(stem.rfind('/') + 1);
        return stem.substr(0, stem.find('~'));
    }
    return {};
}

} // namespace

OwnTypeNames::OwnTypeNames(const std::vector<SourceFile>& files, const ProjectIndex& index,
                           Asked asked, const SelectorSet& userList)
    : files_(files), index_(index) {
    findCandidates(asked);
    for (std::size_t n = 0; n < names_.size(); ++n) {
        if (userList.contains(names_[n].name)) {
            keep(n, {Kind::userList, {}});
        }
    }
    std::vector<std::string> candidates;
    candidates.reserve(names_.size());
    for (const auto& name : names_) {
        candidates.push_back(name.name);
    }
    scan_ = std::make_unique<TypeNameScan>(files_, index_, candidates);
    keepSharedNames();
    keepArchivedClasses();
    keepNamedResources();
    keepWhatFilesKeep();
}

void OwnTypeNames::findCandidates(Asked asked) {
    std::vector<std::string> declared; // classes, in the order first declared
    SelectorSet implemented;
    for (std::size_t f = 0; f < files_.size(); ++f) {
        if (files_[f].ignored() || !index_.parsed(f)) {
            continue;
        }
        for (const auto& container : index_.factsOf(f).containers) {
            if (container.kind == Container::Kind::protocol && asked.protocols &&
                positionOf_.try_emplace(container.name, names_.size()).second) {
                names_.push_back({TypeName::Kind::protocolType, container.name, {}});
            } else if (container.kind == Container::Kind::interface && !container.category &&
                       asked.classes) {
                declared.push_back(container.name);
            } else if (container.kind == Container::Kind::implementation && !container.category) {
                implemented.insert(container.name);
            }
        }
    }
    for (const auto& name : declared) {
        if (implemented.contains(name) && !positionOf_.contains(name)) {
            positionOf_.emplace(name, names_.size());
            names_.push_back({TypeName::Kind::classType, name, {}});
        }
    }
}

void OwnTypeNames::keep(std::size_t name, ProtectionReason reason) {
    if (!names_[name].protection) {
        names_[name].protection = std::move(reason);
    }
}

void OwnTypeNames::keepSharedNames() {
    for (std::size_t f = 0; f < files_.size(); ++f) {
        const auto& facts = index_.factsOf(f);
        for (const auto& container : facts.containers) {
            if (const auto it = positionOf_.find(container.name); it != positionOf_.end()) {
                const bool protocol = container.kind == Container::Kind::protocol;
                if (protocol != (names_[it->second].kind == TypeName::Kind::protocolType) &&
                    (protocol || isClassBlock(container))) {
                    keep(it->second, {Kind::sharedName, protocol ? "a protocol" : "a class"});
                }
            }
            for (const auto& key : container.keys) {
                if (const auto it = positionOf_.find(key); it != positionOf_.end()) {
                    keep(it->second, {Kind::sharedName,
                                      "a property or instance variable of " + container.name});
                }
            }
        }
        for (const auto& use : facts.uses) {
            for (const auto keyword : text::splitViews(use.selector, ':')) {
                if (const auto it = positionOf_.find(keyword); it != positionOf_.end()) {
                    keep(it->second, {Kind::sharedName, "a part of the selector " + use.selector});
                }
            }
        }
    }
}

void OwnTypeNames::keepArchivedClasses() {
    const ClassFamily family(index_, files_.size());
    for (std::size_t n = 0; n < names_.size(); ++n) {
        if (names_[n].kind != TypeName::Kind::classType) {
            continue;
        }
        if (auto archiving =
                family.firstWith(names_[n].name, codingProtocols, {}, archivingSelectors)) {
            keep(n, {Kind::archivedName, std::move(*archiving)});
        }
    }
}

void OwnTypeNames::keepNamedResources() {
    bool entitiesNamedAfterClasses = false;
    for (std::size_t f = 0; f < files_.size(); ++f) {
        entitiesNamedAfterClasses =
            entitiesNamedAfterClasses || scan_->factsOf(f).derivesEntityNames;
    }
    for (std::size_t f = 0; f < files_.size(); ++f) {
        const std::string& path = files_[f].inPath();
        const auto stem = files_[f].kind() == SourceKind::interfaceFile ? nibStem(path) : "";
        if (const auto it = positionOf_.find(stem); !stem.empty() && it != positionOf_.end()) {
            keep(it->second, {Kind::resourceName, path});
        }
        if (!entitiesNamedAfterClasses) {
            continue;
        }
        for (const auto& entity : scan_->factsOf(f).entityNames) {
            if (const auto it = positionOf_.find(entity); it != positionOf_.end()) {
                keep(it->second, {Kind::resourceName, "the Core Data entity in " + path});
            }
        }
    }
}

void OwnTypeNames::keepWhatFilesKeep() {
    for (std::size_t f = 0; f < files_.size(); ++f) {
        for (const auto& [name, reason] : scan_->factsOf(f).keeps) {
            keep(name, reason);
        }
    }
}

} // namespace quillet
