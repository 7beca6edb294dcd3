#include "precise/ProtectionSetup.h"

#include "fs/SourceReader.h"
#include "precise/SdkFolders.h"
#include "precise/SdkSelectors.h"
#include "text/Text.h"

namespace quillet {

namespace {

std::string_view trimmed(std::string_view line) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::vector<std::string> selectorsOfList(std::string_view text) {
    std::vector<std::string> selectors;
    for (const auto line : text::splitViews(text, '\n')) {
        const auto selector = trimmed(line);
        if (!selector.empty() && selector.front() != '#') {
            selectors.emplace_back(selector);
        }
    }
    return selectors;
}

Result<SelectorSet> protectedByUser(const ProtectionSources& sources) {
    SelectorSet selectors(sources.protectedSelectors.begin(), sources.protectedSelectors.end());
    for (const auto& file : sources.protectFiles) {
        const auto list = fs::SourceReader::read(file);
        if (!list) {
            return Error{"cannot read the selector list " + file + ": " + list.error().message};
        }
        for (auto& selector : selectorsOfList(list->text)) {
            selectors.insert(std::move(selector));
        }
    }
    return selectors;
}

Result<PreparedProtection> prepareProtection(const ProtectionSources& sources,
                                             const std::string& cacheFolder) {
    PreparedProtection prepared;
    const SdkSelectorCache cache(cacheFolder);
    auto sdk = std::make_shared<SelectorSet>();
    // Whether the folder could be read; its selectors then join the SDK's.
    const auto read = [&](const std::string& folder) {
        auto selectors = cache.load(folder);
        if (!selectors) {
            return false;
        }
        prepared.sdks.push_back(
            {folder, selectors->headers, selectors->withKeywords, selectors->fromCache});
        sdk->merge(selectors->selectors);
        return true;
    };
    for (const auto& folder : platformSdkFolders()) {
        read(folder);
    }
    for (const auto& folder : sources.sdkFolders) {
        if (!read(folder)) {
            return Error{"cannot read the SDK folder " + folder};
        }
    }
    prepared.inputs.sdk = std::move(sdk);
    auto userList = protectedByUser(sources);
    if (!userList) {
        return userList.error();
    }
    prepared.inputs.userList = std::move(*userList);
    return prepared;
}

} // namespace quillet
