#include "ProjectScan.h"

#include "WordFile.h"

namespace quillet::cli {

namespace {

void printPreciseSummary(const RunReport& report, std::ostream& err) {
    for (const auto& sdk : report.sdks) {
        err << "SDK: " << sdk.folder << " (" << sdk.headers << " headers, " << sdk.selectors
            << " selectors" << (sdk.fromCache ? ", cached" : "") << ")\n";
    }
    if (report.sdks.empty()) {
        err << "SDK: none found; selectors of the platform are not protected (give --sdk DIR)\n";
    }
    err << "files left as they are (not read as Objective-C): " << report.unparsedFiles.size()
        << "\n";
    for (const auto& file : report.unparsedFiles) {
        err << "  " << file.path << ": " << file.problem << "\n";
    }
}

} // namespace

Result<RunOptions> runOptionsFor(const Arguments& args) {
    auto options = RunOptions::stored(args.project, args.mode);
    options.ignore = args.ignore;
    options.includeVendored = args.includeVendored;
    if (args.kinds) {
        options.kinds = *args.kinds;
    }
    if (args.prefix) {
        options.methodPrefix = *args.prefix;
    }
    if (args.classPrefix) {
        options.classPrefix = *args.classPrefix;
    }
    options.reuseNames = args.reuseNames;
    options.protection.protectFiles = args.protectFiles;
    options.protection.sdkFolders.insert(options.protection.sdkFolders.end(),
                                         args.sdkFolders.begin(), args.sdkFolders.end());
    if (args.random) {
        options.words.reset();
    } else if (args.wordsFile) {
        auto read = readWordFile(*args.wordsFile);
        if (!read) {
            return read.error();
        }
        options.words = std::move(*read);
    }
    if (!args.backup) {
        options.backupDirectory.reset();
    }
    options.dryRun = args.dryRun;
    options.skipUnreadable = args.skipUnreadable;
    return options;
}

void printReadingNotes(const RunReport& report, std::ostream& err) {
    for (const auto& note : report.readingNotes) {
        err << note << "\n";
    }
}

void printReuse(const RunReport& report, std::ostream& err) {
    if (report.namesReused == 0 && report.renamedAfresh.empty() && report.namesCarried == 0) {
        return;
    }
    err << "names given again: " << report.namesReused << "\n";
    for (const auto& entry : report.renamedAfresh) {
        err << "given a fresh name, " << entry.to
            << " means something else now: " << kindWord(entry.kind) << " " << entry.from << "\n";
    }
    if (report.namesCarried > 0) {
        err << "listed names the project no longer has, kept in the table as unused: "
            << report.namesCarried << "\n";
    }
}

void printVendoredFolders(const RunReport& report, std::ostream& err) {
    for (const auto& vendored : report.vendoredFolders) {
        err << "looks like a library of its own: " << vendored.folder << " (" << vendored.methods
            << " methods renamed there; --ignore " << vendored.folder << " leaves it alone)\n";
    }
}

void printScanSummary(const RunReport& report, std::ostream& err) {
    const bool precise = report.mode == RenameMode::precise;
    err << "files loaded: " << report.filesLoaded << "\n";
    err << "unreadable files skipped: " << report.unreadableFiles.size() << "\n";
    for (const auto& file : report.unreadableFiles) {
        err << "  " << file.path << ": " << file.problem << "\n";
    }
    if (!report.inaccessible.empty()) {
        err << "skipped, cannot be read: " << report.inaccessible.size() << "\n";
        for (const auto& entry : report.inaccessible) {
            err << "  " << entry.path << ": " << entry.problem << "\n";
        }
    }
    if (precise) {
        printPreciseSummary(report, err);
    }
    const std::size_t renamed = report.methods.size() - report.protectedMethods;
    err << "headers kept: " << report.headers << "\n";
    if (precise) {
        err << "methods: " << report.methods.size() << " (rename " << renamed << ", protected "
            << report.protectedMethods << ")\n";
    } else {
        err << "methods: " << renamed << "\n";
    }
    if (!report.typeNames.empty()) {
        err << "classes, protocols and properties: " << report.typeNames.size() << " (rename "
            << report.typeNames.size() - report.protectedTypes() << ", protected "
            << report.protectedTypes() << ")\n";
    }
    err << "selector pieces: " << report.selectorPieces << "\n";
    err << "words needed: " << report.wordsNeeded << "\n";
    printReadingNotes(report, err);
    printVendoredFolders(report, err);
}

} // namespace quillet::cli
