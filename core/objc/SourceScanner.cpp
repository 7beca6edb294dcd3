#include "objc/SourceScanner.h"

#include <algorithm>

#include "objc/BlockScanner.h"
#include "objc/BracketMatch.h"
#include "objc/Lexer.h"
#include "objc/MacroScanner.h"
#include "objc/MessageScanner.h"
#include "objc/TokenView.h"
#include "objc/UseRecorder.h"

namespace quillet::objc {

namespace {

constexpr std::size_t maximumProblemsReported = 3;

// The first problems of the lexer and the bracket matching, in text order, with their lines.
std::vector<std::string> problemsOf(std::string_view text, std::vector<LexProblem> problems) {
    std::sort(problems.begin(), problems.end(),
              [](const LexProblem& a, const LexProblem& b) { return a.offset < b.offset; });
    std::vector<std::string> described;
    std::size_t line = 1;
    std::size_t counted = 0;
    for (const auto& problem : problems) {
        if (described.size() == maximumProblemsReported) {
            break;
        }
        line += static_cast<std::size_t>(
            std::count(text.begin() + static_cast<std::ptrdiff_t>(counted),
                       text.begin() + static_cast<std::ptrdiff_t>(problem.offset), '\n'));
        counted = problem.offset;
        described.push_back(problem.what + " at line " + std::to_string(line));
    }
    return described;
}

} // namespace

SourceFacts scanSource(std::string_view text, Dialect dialect, ScanDepth depth, UnaryNames unary) {
    const Lexed lexed = lex(text, dialect);
    const BracketMatch brackets(text, lexed.tokens);
    const TokenView tokens(text, lexed.tokens, brackets);
    SourceFacts facts;
    UseRecorder uses(facts, unary);
    BlockScanner blocks(tokens, uses);
    blocks.run();
    if (depth == ScanDepth::everything) {
        const MacroScanner macros(text, lexed.tokens, dialect);
        MessageScanner(tokens, uses, blocks.blocks(), macros.bodies()).run();
        macros.run(uses);
    }
    std::vector<LexProblem> problems = lexed.problems;
    problems.insert(problems.end(), brackets.problems().begin(), brackets.problems().end());
    facts.problems = problemsOf(text, std::move(problems));
    return facts;
}

} // namespace quillet::objc
