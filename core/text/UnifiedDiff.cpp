#include "text/UnifiedDiff.h"

#include <algorithm>
#include <vector>

namespace quillet::text {

namespace {

// Lines with their "\n", the last one possibly without.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = std::min(text.find('\n', start), text.size() - 1) + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// Lines [oldStart, oldEnd) of the old text become lines [newStart, newEnd) of the new one.
struct Change {
    std::size_t oldStart, oldEnd, newStart, newEnd;
};

std::vector<Change> changesBetween(const std::vector<std::string_view>& before,
                                   const std::vector<std::string_view>& after) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    const std::size_t oldEnd = before.size() - tail;
    const std::size_t newEnd = after.size() - tail;
    if (oldEnd - head != newEnd - head) {
        return {Change{head, oldEnd, head, newEnd}};
    }
    std::vector<Change> changes;
    for (std::size_t i = head; i < oldEnd; ++i) {
        if (before[i] == after[i]) {
            continue;
        }
        if (!changes.empty() && changes.back().oldEnd == i) {
            ++changes.back().oldEnd;
            ++changes.back().newEnd;
        } else {
            changes.push_back(Change{i, i + 1, i, i + 1});
        }
    }
    return changes;
}

void appendLine(std::string& out, char mark, std::string_view line) {
    out += mark;
    out += line;
    if (line.empty() || line.back() != '\n') {
        out += "\n\\ No newline at end of file\n";
    }
}

// A name with a blank in it ends with a tab, which is where patch looks for the name's end.
std::string header(std::string_view label) {
    return std::string(label) + (label.find(' ') != std::string_view::npos ? "\t\n" : "\n");
}

std::string range(std::size_t start, std::size_t count) {
    // An empty range names the line before it, as diff does.
    return std::to_string(count == 0 ? start : start + 1) + "," + std::to_string(count);
}

} // namespace

std::string unifiedDiff(std::string_view before, std::string_view after,
                        std::string_view beforeLabel, std::string_view afterLabel,
                        std::size_t context) {
    const auto oldLines = linesOf(before);
    const auto newLines = linesOf(after);
    const auto changes = changesBetween(oldLines, newLines);
    if (changes.empty()) {
        return {};
    }
    std::string out = "--- " + header(beforeLabel) + "+++ " + header(afterLabel);
    for (std::size_t first = 0; first < changes.size();) {
        std::size_t last = first;
        while (last + 1 < changes.size() &&
               changes[last + 1].oldStart - changes[last].oldEnd <= 2 * context) {
            ++last;
        }
        const std::size_t oldFrom =
            changes[first].oldStart - std::min(context, changes[first].oldStart);
        const std::size_t newFrom = oldFrom + changes[first].newStart - changes[first].oldStart;
        const std::size_t oldTo = std::min(oldLines.size(), changes[last].oldEnd + context);
        const std::size_t newTo = oldTo + changes[last].newEnd - changes[last].oldEnd;
        std::string body;
        std::size_t at = oldFrom;
        for (std::size_t c = first; c <= last; ++c) {
            for (; at < changes[c].oldStart; ++at) {
                appendLine(body, ' ', oldLines[at]);
            }
            for (std::size_t i = changes[c].oldStart; i < changes[c].oldEnd; ++i) {
                appendLine(body, '-', oldLines[i]);
            }
            for (std::size_t i = changes[c].newStart; i < changes[c].newEnd; ++i) {
                appendLine(body, '+', newLines[i]);
            }
            at = changes[c].oldEnd;
        }
        for (; at < oldTo; ++at) {
            appendLine(body, ' ', oldLines[at]);
        }
        out += "@@ -" + range(oldFrom, oldTo - oldFrom) + " +" + range(newFrom, newTo - newFrom) +
               " @@\n" + body;
        first = last + 1;
    }
    return out;
}

} // namespace quillet::text
