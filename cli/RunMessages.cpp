#include "RunMessages.h"

#include <algorithm>

#include "engine/MethodPrefix.h"
#include "log/Console.h"

namespace quillet::cli {

namespace {

// Where the run's words came from, as a message names it.
std::string wordSource(const Arguments& args) {
    return args.wordsFile ? "the words file " + *args.wordsFile : "the default word bank";
}

std::size_t wordsGiven(const RunOptions& options) {
    if (!options.words) {
        return 0;
    }
    // An empty bank is one empty word to the run, and none to the user.
    return static_cast<std::size_t>(std::count_if(options.words->begin(), options.words->end(),
                                                  [](const auto& word) { return !word.empty(); }));
}

// The three ways to a run with enough words.
std::string wordFixes(std::size_t needed) {
    return "use --random for names of random letters, --words FILE with a bank text of at least " +
           std::to_string(needed) +
           " different words, or make such a file the default bank with quillet-cli bank set "
           "FILE";
}

std::string unreadableMessage(const RunReport& report) {
    std::string message = std::to_string(report.inaccessible.size()) +
                          " files or folders of the project cannot be read; the project was not "
                          "changed:";
    for (const auto& entry : report.inaccessible) {
        message += "\n  " + entry.path + ": " + entry.problem;
    }
    return message + "\nmake them readable, or run again with --skip-unreadable to leave them as "
                     "they are (in the precise mode the methods declared beside them then keep "
                     "their names)";
}

} // namespace

std::string refusalMessage(const RunReport& report, const Arguments& args,
                           const RunOptions& options) {
    using Reason = RunRefusal::Reason;
    const RunRefusal& refusal = *report.refusal;
    switch (refusal.reason) {
    case Reason::illegalPath:
        return "cannot work on " + refusal.detail + ": " + std::string(pathRuleText) +
               "; move or rename the folder";
    case Reason::noSuchFolder:
        return "no such folder: " + refusal.detail;
    case Reason::notAFolder:
        return "not a folder: " + refusal.detail;
    case Reason::busy:
        return refusal.detail + "; nothing was written";
    case Reason::protectionUnreadable:
        return refusal.detail;
    case Reason::namesUnreadable:
        return refusal.detail + "; nothing was written";
    case Reason::namesTakenSince:
        return "the project already holds these old names (gained since, or left in place by a "
               "literal rename), so renaming back would make two names one; nothing was "
               "written:\n" +
               refusal.detail;
    case Reason::invalidPrefix:
        return "the stored method prefix \"" + refusal.detail +
               "\" cannot start a selector: " + std::string(methodPrefixRule) +
               "; change it with quillet-cli settings set --prefix";
    case Reason::invalidClassPrefix:
        return "the stored class prefix \"" + refusal.detail +
               "\" cannot start a class name: " + std::string(classPrefixRule) +
               "; change it with quillet-cli settings set --class-prefix";
    case Reason::unreadable:
        return unreadableMessage(report);
    case Reason::noHeaders:
        return "no header with an implementation file beside it was found in " + refusal.detail +
               "; nothing was written";
    case Reason::notEnoughWords:
        return "not enough words: " + wordSource(args) + " holds " +
               std::to_string(wordsGiven(options)) + " and this project needs " +
               std::to_string(report.wordsNeeded) +
               " (one and a half for each piece of a selector); nothing was written\n" +
               wordFixes(report.wordsNeeded);
    case Reason::wordsRanOut:
        return "the words ran out: " + wordSource(args) +
               " holds too few different words to give every method a name of its own; nothing "
               "was written\n" +
               wordFixes(report.wordsNeeded);
    }
    return refusal.detail;
}

std::string backupFailureMessage(const BackupFailure& failure, const RunOptions& options) {
    std::string message =
        "the backup could not be made: " + failure.message + "\nthe project was not changed; ";
    if (!failure.unreadableSource.empty()) {
        // The archive must hold every file: only making this one readable helps.
        return message + "the project's " + failure.unreadableSource +
               " could not be read: make it readable and run again";
    }
    return message + "fix the backup directory " + options.backupDirectory.value_or("") +
           " (quillet-cli settings set --backup-dir D; see " + Console::shared().path() +
           ") or rename with --no-backup";
}

} // namespace quillet::cli
