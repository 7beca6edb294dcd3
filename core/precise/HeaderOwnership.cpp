#include "precise/HeaderOwnership.h"

#include <algorithm>

#include "precise/SelectorSet.h"

namespace quillet {

namespace {

using objc::Container;
using objc::UseKind;

bool insideFramework(const std::string& path) {
    return path.find(".framework/") != std::string::npos;
}

// What the project's rewritable code implements and sends.
class ProjectCode {
public:
    ProjectCode(const std::vector<SourceFile>& files, const ProjectIndex& index) {
        for (std::size_t f = 0; f < files.size(); ++f) {
            if (files[f].ignored() || !index.parsed(f)) {
                continue;
            }
            const auto& facts = index.factsOf(f);
            for (const auto& use : facts.uses) {
                if (use.kind == UseKind::definition && use.container >= 0) {
                    const auto& container = facts.containers[use.container];
                    definedInClass_.insert(container.name + " " + use.selector);
                    defined_.insert(use.selector);
                } else if (use.kind == UseKind::send || use.kind == UseKind::selectorExpression) {
                    sent_.insert(use.selector);
                }
            }
        }
    }

    // Whether the container, declared in a header, is one the project's code stands behind.
    bool owns(const objc::SourceFacts& facts, std::int32_t container) const {
        const auto& declared = facts.containers[container];
        return std::any_of(facts.uses.begin(), facts.uses.end(), [&](const objc::SelectorUse& use) {
            if (use.container != container || use.kind != UseKind::declaration) {
                return false;
            }
            if (declared.kind == Container::Kind::protocol) {
                return defined_.contains(use.selector) && sent_.contains(use.selector);
            }
            return definedInClass_.contains(declared.name + " " + use.selector);
        });
    }

private:
    SelectorSet definedInClass_; // "Class selector"
    SelectorSet defined_;
    SelectorSet sent_;
};

} // namespace

std::vector<std::size_t> ownHeadersOf(const std::vector<SourceFile>& files,
                                      const ProjectIndex& index,
                                      const std::vector<std::size_t>& besideImplementation) {
    std::vector<bool> own(files.size(), false);
    for (const auto header : besideImplementation) {
        own[header] = true;
    }
    const ProjectCode code(files, index);
    for (std::size_t f = 0; f < files.size(); ++f) {
        if (own[f] || files[f].kind() != SourceKind::header || files[f].ignored() ||
            !index.parsed(f) || insideFramework(files[f].inPath())) {
            continue;
        }
        const auto& facts = index.factsOf(f);
        for (std::int32_t c = 0; c < static_cast<std::int32_t>(facts.containers.size()); ++c) {
            if (code.owns(facts, c)) {
                own[f] = true;
                break;
            }
        }
    }
    std::vector<std::size_t> headers;
    for (std::size_t f = 0; f < files.size(); ++f) {
        if (own[f]) {
            headers.push_back(f);
        }
    }
    return headers;
}

} // namespace quillet
