#include "support/EngineRun.h"

#include <gtest/gtest.h>

#include "text/Text.h"

namespace quillet::test {

MethodModel method(const std::string& selector, const std::string& file) {
    MethodModel model;
    model.file = file;
    std::size_t start = 0;
    for (std::size_t i = 0; i < selector.size(); ++i) {
        if (selector[i] == ':') {
            model.elements.push_back(selector.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    return model;
}

RenamePair renamePair(const std::string& oldSelector, const std::string& file,
                      const std::string& newSelector) {
    return RenamePair{method(oldSelector, file), method(newSelector)};
}

void scan(MRenameTool& tool, const std::string& root) {
    tool.setRootPath(root);
    ASSERT_TRUE(tool.loadFiles({}));
    tool.collectMethods();
}

std::vector<std::string> logValues(const std::string& logText) {
    std::vector<std::string> values;
    for (const auto& line : text::split(logText, '\n')) {
        const bool header = line.size() > 24 && line[4] == '-' && line[10] == ' ' &&
                            line.find(" in ") == 23 && line.ends_with("]:");
        if (!header && !line.empty()) {
            values.push_back(line);
        }
    }
    return values;
}

} // namespace quillet::test
