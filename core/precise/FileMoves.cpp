#include "precise/FileMoves.h"

#include <algorithm>

#include "text/Text.h"

namespace quillet {

namespace {

bool continuesName(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '+';
}

} // namespace

std::string withEdits(std::string_view text, std::vector<MoveEdit> edits) {
    std::sort(edits.begin(), edits.end(),
              [](const MoveEdit& a, const MoveEdit& b) { return a.offset < b.offset; });
    std::string out;
    out.reserve(text.size());
    std::size_t copied = 0;
    for (const auto& edit : edits) {
        out.append(text.substr(copied, edit.offset - copied));
        out += edit.text;
        copied = edit.offset + edit.length;
    }
    out.append(text.substr(copied));
    return out;
}

bool mentionsFile(std::string_view text, std::string_view fileName) {
    for (auto at = text.find(fileName); at != std::string_view::npos;
         at = text.find(fileName, at + 1)) {
        const auto end = at + fileName.size();
        if ((at == 0 || !continuesName(text[at - 1])) &&
            (end == text.size() || (!continuesName(text[end]) && text[end] != '.'))) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> normalPath(std::string_view path) {
    std::vector<std::string> steps;
    for (const auto& step : text::split(path, '/')) {
        if (step.empty() || step == ".") {
            continue;
        }
        if (step == "..") {
            if (steps.empty()) {
                return std::nullopt;
            }
            steps.pop_back();
        } else {
            steps.push_back(step);
        }
    }
    return text::join(steps, "/");
}

std::string_view lastComponent(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string folderOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

} // namespace quillet
