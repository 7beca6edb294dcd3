#include "precise/IncludeRewrite.h"

#include "objc/Lexer.h"

namespace quillet {

IncludeRewrite::IncludeRewrite(const std::vector<SourceFile>& files,
                               const std::vector<bool>& written,
                               const std::vector<PlannedMove>& moves, const std::string& rootPath)
    : files_(files), moves_(moves), edits_(files.size()) {
    for (std::size_t m = 0; m < moves.size(); ++m) {
        movesByName_[std::string(lastComponent(moves[m].from))].push_back(m);
        moveByPath_.emplace(moves[m].from, m);
    }
    if (moves.empty()) {
        return;
    }
    for (std::size_t f = 0; f < files.size(); ++f) {
        const auto kind = files[f].kind();
        if (!files[f].readable() ||
            (kind != SourceKind::header && kind != SourceKind::implementation)) {
            continue;
        }
        if (written[f]) {
            readIncludes(f, files[f].inPath().substr(rootPath.size() + 1));
            continue;
        }
        for (const auto& [name, named] : movesByName_) {
            if (mentionsFile(files[f].text(), name)) {
                refusals_.push_back(
                    {moves[named.front()].owner,
                     files[f].inPath() + " names " + name + " and is not rewritten"});
            }
        }
    }
}

void IncludeRewrite::readIncludes(std::size_t f, const std::string& relative) {
    const std::string& text = files_[f].text();
    for (const auto& token : objc::lex(text, dialectOf(files_[f].inFile())).tokens) {
        const auto spelled = token.in(text);
        if (token.kind != objc::TokenKind::headerName || spelled.size() < 2 ||
            spelled.back() != (spelled.front() == '<' ? '>' : '"')) {
            continue;
        }
        const auto included = spelled.substr(1, spelled.size() - 2);
        const auto name = lastComponent(included);
        const auto named = movesByName_.find(name);
        if (named == movesByName_.end()) {
            continue;
        }
        const PlannedMove* move = resolve(relative, included);
        if (!move) {
            refusals_.push_back({moves_[named->second.front()].owner,
                                 files_[f].inPath() + " imports " + std::string(spelled) +
                                     ", which may be another file"});
            continue;
        }
        edits_[f].push_back({token.offset + 1 + included.size() - name.size(), name.size(),
                             std::string(lastComponent(move->to)), move->owner});
    }
}

const PlannedMove* IncludeRewrite::resolve(const std::string& includer,
                                           std::string_view included) const {
    for (const auto& from : {folderOf(includer), std::string()}) {
        const auto path =
            normalPath(from.empty() ? std::string(included) : from + "/" + std::string(included));
        if (const auto it = path ? moveByPath_.find(*path) : moveByPath_.end();
            it != moveByPath_.end()) {
            return &moves_[it->second];
        }
    }
    // From any folder of the project: the include is the end of the moved file's path.
    std::string tail = "/";
    tail += included;
    for (const auto m : movesByName_.at(std::string(lastComponent(included)))) {
        const std::string& from = moves_[m].from;
        if (included.find("..") == std::string_view::npos &&
            (from == included || from.ends_with(tail))) {
            return &moves_[m];
        }
    }
    return nullptr;
}

} // namespace quillet
