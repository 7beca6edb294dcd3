#include "RunJson.h"

#include "log/Console.h"

namespace quillet::cli {

namespace {

using nlohmann::json;

const char* reasonName(RunRefusal::Reason reason) {
    using Reason = RunRefusal::Reason;
    switch (reason) {
    case Reason::illegalPath:
        return "illegalPath";
    case Reason::invalidPrefix:
        return "invalidPrefix";
    case Reason::invalidClassPrefix:
        return "invalidClassPrefix";
    case Reason::namesUnreadable:
        return "namesUnreadable";
    case Reason::namesTakenSince:
        return "namesTakenSince";
    case Reason::noSuchFolder:
        return "noSuchFolder";
    case Reason::notAFolder:
        return "notAFolder";
    case Reason::busy:
        return "busy";
    case Reason::protectionUnreadable:
        return "protectionUnreadable";
    case Reason::unreadable:
        return "unreadable";
    case Reason::noHeaders:
        return "noHeaders";
    case Reason::notEnoughWords:
        return "notEnoughWords";
    case Reason::wordsRanOut:
        return "wordsRanOut";
    }
    return "";
}

json pathsWithProblems(const std::vector<UnparsedFile>& files) {
    json list = json::array();
    for (const auto& file : files) {
        list.push_back({{"path", file.path}, {"problem", file.problem}});
    }
    return list;
}

// How many methods the run renamed, would rename (a dry run) or could rename (methods).
std::size_t renamedCount(const Arguments& args, const RunReport& report) {
    if (args.command == Command::methods) {
        return report.methods.size() - report.protectedMethods;
    }
    return report.dryRun ? report.pairs.size() : report.renamed();
}

// How many classes, protocols and properties the run renamed, would rename or could rename.
std::size_t typesRenamedCount(const Arguments& args, const RunReport& report) {
    if (args.command == Command::methods) {
        return report.typeNames.size() - report.protectedTypes();
    }
    return report.dryRun ? report.typeRenames.size() : report.typesRenamed();
}

json counts(const Arguments& args, const RunReport& report) {
    return {{"filesRead", report.filesLoaded},
            {"methods", report.methods.size()},
            {"renamed", renamedCount(args, report)},
            {"protected", report.protectedMethods},
            {"types", report.typeNames.size()},
            {"typesRenamed", typesRenamedCount(args, report)},
            {"filesChanged", report.dryRun ? report.changes.size() : report.writes.written},
            {"filesUnchanged", report.writes.unchanged},
            {"filesFailed", report.writes.failed},
            {"wordsNeeded", report.wordsNeeded}};
}

json backup(const RunReport& report) {
    if (!report.backup) {
        return nullptr;
    }
    if (report.backup->ok()) {
        return {{"path", report.backup->value()}};
    }
    const auto& failure = report.backup->error();
    return {{"failure", failure.message},
            {"unreadableSource",
             failure.unreadableSource.empty() ? json(nullptr) : json(failure.unreadableSource)}};
}

json protectedMethods(const RunReport& report) {
    json list = json::array();
    for (const auto& candidate : report.methods) {
        if (candidate.protection) {
            list.push_back({{"selector", candidate.method.selector()},
                            {"header", candidate.method.file},
                            {"reason", candidate.protection->describe()}});
        }
    }
    return list;
}

json candidates(const RunReport& report) {
    json list = json::array();
    for (const auto& candidate : report.methods) {
        list.push_back({{"selector", candidate.method.selector()},
                        {"header", candidate.method.file},
                        {"protection", candidate.protection ? json(candidate.protection->describe())
                                                            : json(nullptr)}});
    }
    return list;
}

json typeCandidates(const RunReport& report) {
    json list = json::array();
    for (const auto& type : report.typeNames) {
        list.push_back(
            {{"kind", kindWord(type.kind)},
             {"name", type.name},
             {"protection", type.protection ? json(type.protection->describe()) : json(nullptr)}});
    }
    return list;
}

json renamedTypes(const RunReport& report) {
    json list = json::array();
    for (const auto& rename : report.typeRenames) {
        list.push_back({{"kind", kindWord(rename.kind)}, {"old", rename.from}, {"new", rename.to}});
    }
    return list;
}

json renamedPairs(const RunReport& report) {
    json list = json::array();
    for (const auto& pair : report.pairs) {
        list.push_back({{"old", pair.old.selector()}, {"new", pair.new_.selector()}});
    }
    return list;
}

json plannedChanges(const RunReport& report) {
    json list = json::array();
    for (const auto& change : report.changes) {
        list.push_back({{"path", change.path}, {"diff", change.diff}, {"note", change.note}});
    }
    return list;
}

} // namespace

json runJson(const Arguments& args, const RunReport& report, const RunOutcome& outcome) {
    json document = {
        {"command", commandName(args.command)},
        {"project", report.project.empty() ? args.project : report.project},
        {"mode", args.mode == RenameMode::precise ? "precise" : "literal"},
        {"exitStatus", outcome.exitStatus},
        {"status", outcome.status},
        {"refusal", nullptr},
        {"counts", counts(args, report)},
        {"protected", protectedMethods(report)},
        {"files",
         {{"unread", pathsWithProblems(report.unreadableFiles)},
          {"unparsed", pathsWithProblems(report.unparsedFiles)},
          {"inaccessible", pathsWithProblems(report.inaccessible)}}},
        {"log", Console::shared().path()},
    };
    if (args.command == Command::methods) {
        document["methods"] = candidates(report);
        document["types"] = typeCandidates(report);
        return document;
    }
    document["dryRun"] = report.dryRun;
    document["renamed"] = renamedPairs(report);
    document["typeRenames"] = renamedTypes(report);
    if (args.reuseNames) {
        json afresh = json::array();
        for (const auto& entry : report.renamedAfresh) {
            afresh.push_back(
                {{"kind", kindWord(entry.kind)}, {"old", entry.from}, {"was", entry.to}});
        }
        document["reuse"] = {{"names", *args.reuseNames},
                             {"reused", report.namesReused},
                             {"renamedAfresh", afresh},
                             {"carried", report.namesCarried}};
    }
    document["backup"] = backup(report);
    document["nameList"] = report.writes.listWritten ? json(report.nameListPath) : json(nullptr);
    if (report.dryRun) {
        document["changes"] = plannedChanges(report);
    }
    return document;
}

json refusalJson(const RunRefusal& refusal, const std::string& message) {
    return {{"reason", reasonName(refusal.reason)}, {"message", message}};
}

} // namespace quillet::cli
