#include "precise/SourceKind.h"

#include <algorithm>
#include <initializer_list>

#include "precise/ResourceFileScanner.h"

namespace quillet {

namespace {

bool endsWithAny(std::string_view path, std::initializer_list<std::string_view> suffixes) {
    return std::any_of(suffixes.begin(), suffixes.end(),
                       [&](std::string_view suffix) { return path.ends_with(suffix); });
}

} // namespace

SourceKind sourceKindOf(std::string_view path) {
    if (endsWithAny(path, {".h", ".hpp", ".hh", ".hxx", ".inl", ".pch"})) {
        return SourceKind::header;
    }
    if (endsWithAny(path, {".m", ".mm"})) {
        return SourceKind::implementation;
    }
    if (isResourcePath(path)) {
        return SourceKind::interfaceFile;
    }
    if (path.ends_with(".swift")) {
        return SourceKind::swift;
    }
    return SourceKind::other;
}

objc::Dialect dialectOf(std::string_view path) {
    return endsWithAny(path, {".mm", ".hpp", ".hh", ".hxx", ".inl", ".pch"})
               ? objc::Dialect::objectiveCpp
               : objc::Dialect::objectiveC;
}

} // namespace quillet
