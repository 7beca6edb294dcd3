#include "precise/XcodeProjectFile.h"

#include "text/StringHash.h"

namespace quillet {

namespace {

// Deeper than any project's groups nest; a deeper chain is a loop.
constexpr int deepestGroup = 256;

std::string joined(const std::string& folder, const std::string& path) {
    if (folder.empty()) {
        return path;
    }
    return path.empty() ? folder : folder + "/" + path;
}

bool isGroup(const std::string& isa) {
    return isa == "PBXGroup" || isa == "PBXVariantGroup" || isa == "XCVersionGroup";
}

// Where the groups and references of one project lie.
class Locator {
public:
    Locator(const text::StringMap<const AsciiValue*>& objects, std::string mainGroup,
            std::string projectFolder)
        : objects_(objects), mainGroup_(std::move(mainGroup)),
          projectFolder_(std::move(projectFolder)) {
        for (const auto& [id, object] : objects_) {
            const auto* children = object->find("children");
            if (!isGroup(object->stringAt("isa")) || !children) {
                continue;
            }
            for (const auto& child : children->items) {
                parent_.emplace(child.text, id);
            }
        }
    }

    // Where the object `id` lies, by its own path and source tree.
    std::optional<std::string> locationOf(const std::string& id, int depth = 0) const {
        const auto it = objects_.find(id);
        if (it == objects_.end() || depth > deepestGroup) {
            return std::nullopt;
        }
        const AsciiValue& object = *it->second;
        const std::string path = object.stringAt("path");
        if (id == mainGroup_) {
            return joined(projectFolder_, path);
        }
        const std::string tree = object.stringAt("sourceTree");
        if (tree == "SOURCE_ROOT") {
            return joined(projectFolder_, path);
        }
        const auto up = parent_.find(id);
        if (tree != "<group>" || up == parent_.end()) {
            return std::nullopt;
        }
        auto folder = locationOf(up->second, depth + 1);
        return folder ? std::optional<std::string>(joined(*folder, path)) : std::nullopt;
    }

private:
    const text::StringMap<const AsciiValue*>& objects_;
    std::string mainGroup_;
    std::string projectFolder_;
    text::StringMap<std::string> parent_; // child -> its group
};

} // namespace

std::optional<XcodeProjectFile> XcodeProjectFile::parse(std::string_view text) {
    if (!text.starts_with("// !$*UTF8*$!")) {
        return std::nullopt;
    }
    auto list = AsciiPropertyList::parse(text);
    if (!list) {
        return std::nullopt;
    }
    XcodeProjectFile project(std::move(*list));
    if (!project.readReferences()) {
        return std::nullopt;
    }
    return project;
}

bool XcodeProjectFile::readReferences() {
    const AsciiValue& root = list_.root();
    const auto* objects = root.find("objects");
    if (root.kind != AsciiValue::Kind::dictionary || !objects ||
        objects->kind != AsciiValue::Kind::dictionary) {
        return false;
    }
    text::StringMap<const AsciiValue*> byId;
    for (const auto& [id, object] : objects->entries) {
        if (object.kind != AsciiValue::Kind::dictionary || object.stringAt("isa").empty()) {
            return false;
        }
        byId.emplace(id, &object);
    }
    const auto project = byId.find(root.stringAt("rootObject"));
    if (project == byId.end() || project->second->stringAt("isa") != "PBXProject") {
        return false;
    }
    const std::string mainGroup = project->second->stringAt("mainGroup");
    if (!byId.contains(mainGroup)) {
        return false;
    }
    const Locator locator(byId, mainGroup, project->second->stringAt("projectDirPath"));
    for (const auto& [id, object] : objects->entries) {
        const auto* path = object.find("path");
        if (object.stringAt("isa") != "PBXFileReference" || !path ||
            path->kind != AsciiValue::Kind::string) {
            continue;
        }
        XcodeFileReference reference{locator.locationOf(id), path->text, path->span, {}, {}};
        if (const auto* name = object.find("name");
            name && name->kind == AsciiValue::Kind::string) {
            reference.name = name->text;
            reference.nameSpan = name->span;
        }
        references_.push_back(std::move(reference));
    }
    return true;
}

} // namespace quillet
