#include "engine/DeclarationParser.h"

#include "text/Text.h"

namespace quillet {

std::optional<MethodModel> methodOfDeclaration(std::string_view declaration,
                                               const std::string& file) {
    if (declaration.find('^') != std::string_view::npos) {
        return std::nullopt; // block types are left alone
    }
    MethodModel method;
    method.file = file;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= declaration.size(); ++i) {
        if (i < declaration.size() && declaration[i] != ')' && declaration[i] != ' ' &&
            declaration[i] != '(') {
            continue;
        }
        const auto piece = declaration.substr(start, i - start);
        if (piece.find(':') != std::string_view::npos && text::utf16Length(piece) > 2) {
            method.elements.emplace_back(piece);
        }
        start = i + 1;
    }
    const std::string selector = method.selector();
    if (method.elements.empty() || selector.starts_with("init") || selector.starts_with("set")) {
        return std::nullopt;
    }
    return method;
}

} // namespace quillet
