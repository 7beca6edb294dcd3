#include "precise/SwiftUsage.h"

#include "concurrency/ParallelFor.h"
#include "swift/SwiftScanner.h"

namespace quillet {

namespace {

constexpr unsigned scanThreads = 4;

std::optional<std::size_t> lookUp(const text::StringMap<std::size_t>& map, std::string_view key) {
    const auto it = map.find(key);
    return it == map.end() ? std::nullopt : std::optional<std::size_t>(it->second);
}

} // namespace

SwiftUsage::SwiftUsage(const std::vector<SourceFile>& files) {
    std::vector<std::size_t> swiftFiles;
    for (std::size_t f = 0; f < files.size(); ++f) {
        if (files[f].readable() && files[f].kind() == SourceKind::swift) {
            swiftFiles.push_back(f);
        }
    }
    std::vector<swift::SwiftFacts> facts(swiftFiles.size());
    parallelFor(swiftFiles.size(), scanThreads,
                [&](std::size_t i) { facts[i] = swift::scanSwift(files[swiftFiles[i]].text()); });
    // In load order, so the first file to say a thing is the one remembered.
    for (std::size_t i = 0; i < swiftFiles.size(); ++i) {
        for (auto& name : facts[i].names) {
            names_.try_emplace(std::move(name), swiftFiles[i]);
        }
        for (auto& selector : facts[i].objcSelectors) {
            objcSelectors_.try_emplace(std::move(selector), swiftFiles[i]);
        }
        for (auto& type : facts[i].conformances) {
            adopted_.try_emplace(std::move(type), swiftFiles[i]);
        }
    }
}

std::optional<std::size_t> SwiftUsage::fileNaming(std::string_view name) const {
    return lookUp(names_, name);
}

std::optional<std::size_t> SwiftUsage::fileGivingSelector(std::string_view selector) const {
    return lookUp(objcSelectors_, selector);
}

std::optional<std::size_t> SwiftUsage::fileAdopting(std::string_view type) const {
    return lookUp(adopted_, type);
}

} // namespace quillet
