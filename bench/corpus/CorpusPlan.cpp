#include "CorpusPlan.h"

#include <algorithm>
#include <unordered_set>

namespace quillet::bench {

namespace {

const std::vector<std::string> kVerbs = {
    "load",     "fetch",   "update",  "render",   "configure", "validate", "compute",
    "present",  "dismiss", "refresh", "apply",    "merge",     "export",   "import",
    "register", "resolve", "prepare", "schedule", "cancel",    "restore",  "archive",
    "encode",   "decode",  "measure", "observe",  "select",    "insert",   "remove",
    "track",    "sync",    "build",   "format",   "animate",   "highlight"};

const std::vector<std::string> kNouns = {
    "Order",   "Product", "Account",  "Session",  "Image",    "Cache",  "Layout",   "Record",
    "Payment", "Invoice", "Customer", "Address",  "Cart",     "Coupon", "Review",   "Rating",
    "Message", "Thread",  "Contact",  "Profile",  "Avatar",   "Banner", "Feed",     "Story",
    "Comment", "Draft",   "Upload",   "Download", "Token",    "Device", "Location", "Route",
    "Map",     "Marker",  "Section",  "Row",      "Cell",     "Header", "Footer",   "Badge",
    "Filter",  "Query",   "Result",   "Page",     "Tab",      "Menu",   "Toolbar",  "Button",
    "Label",   "Gesture", "Timer",    "Schedule", "Reminder", "Event",  "Calendar", "Note",
    "Tag",     "Folder",  "Document", "Preview",  "Receipt",  "Wallet", "Voucher"};

const std::vector<std::string> kJoiners = {"With", "For", "From", "Using", "Into", "At", "By"};

const std::vector<std::string> kLabels = {
    "completion",  "animated", "options",    "error",   "index",    "count",
    "delegate",    "context",  "identifier", "timeout", "userInfo", "handler",
    "forKey",      "atIndex",  "withObject", "reason",  "style",    "priority",
    "limit",       "offset",   "size",       "color",   "duration", "source",
    "destination", "filter",   "sortOrder",  "locale",  "queue",    "retryCount"};

const std::vector<std::string> kTypes = {"NSString *", "NSInteger",      "BOOL",     "id",
                                         "NSArray *",  "NSDictionary *", "double",   "CGFloat",
                                         "NSUInteger", "NSNumber *",     "NSData *", "NSURL *"};

const std::vector<std::string> kReturnTypes = {
    "void", "void", "BOOL", "NSInteger", "id", "NSString *", "NSArray *", "double", "void"};

const std::vector<std::string> kRoles = {"Store",     "Manager",        "Service", "ViewModel",
                                         "Cell",      "ViewController", "View",    "Builder",
                                         "Formatter", "Coordinator"};

const std::vector<std::string> kFolders = {"Models", "Views", "View Controllers", "Services",
                                           "Supporting Files"};

const std::vector<std::string> kCategoryBases = {"NSString", "NSArray", "UIView",
                                                 "NSDate",   "UIColor", "NSDictionary"};

const std::vector<std::string> kOverlapPrefixes = {"re", "pre", "un", "auto", "batch"};

constexpr std::size_t kClassesPerModule = 50;
constexpr std::size_t kChainLength = 25;
constexpr std::size_t kUmbrellaImporters = 30;

std::string argumentName(const std::string& label) {
    // "forKey" -> "key", "withObject" -> "object"; other labels are their own names.
    for (const std::string joiner : {"for", "with", "at"}) {
        if (label.size() > joiner.size() && label.starts_with(joiner) &&
            label[joiner.size()] >= 'A' && label[joiner.size()] <= 'Z') {
            std::string name = label.substr(joiner.size());
            name[0] = static_cast<char>(name[0] - 'A' + 'a');
            return name;
        }
    }
    return label;
}

} // namespace

std::string PlannedMethod::selector() const {
    std::string selector;
    for (const auto& argument : arguments) {
        selector += argument.label + ":";
    }
    return selector;
}

CorpusPlan::CorpusPlan(const CorpusOptions& options) : options_(options), random_(options.seed) {
    const std::size_t classCount = std::max<std::size_t>(2, options.files / 2);
    linesPerFile_ = std::max<std::size_t>(20, options.lines / (2 * classCount));
    planMethods(options.methods, options.overlapPercent);
    planModules(classCount);
    for (std::size_t i = 0; i < classes_.size(); ++i) {
        const std::size_t begin = i * methods_.size() / classes_.size();
        const std::size_t end = (i + 1) * methods_.size() / classes_.size();
        for (std::size_t m = begin; m < end; ++m) {
            classes_[i].methods.push_back(m);
        }
    }
    planImports();
}

const std::string& CorpusPlan::pick(const std::vector<std::string>& words) {
    return words[random_.uniform(static_cast<std::uint32_t>(words.size()))];
}

bool CorpusPlan::chance(int percent) {
    return static_cast<int>(random_.uniform(100)) < percent;
}

void CorpusPlan::planModules(std::size_t classCount) {
    const std::size_t moduleCount = (classCount + kClassesPerModule - 1) / kClassesPerModule;
    for (std::size_t m = 0; m < moduleCount; ++m) {
        PlannedModule module;
        const std::string noun = kNouns[m % kNouns.size()];
        module.name = noun + "Kit" + (m < kNouns.size() ? "" : std::to_string(m / kNouns.size()));
        module.prefix = {'Q', static_cast<char>('A' + m % 26),
                         static_cast<char>('A' + (m / 26) % 26)};
        modules_.push_back(module);
    }
    for (std::size_t i = 0; i < classCount; ++i) {
        planClass(i / kClassesPerModule, i % kClassesPerModule);
    }
}

void CorpusPlan::planClass(std::size_t module, std::size_t position) {
    PlannedModule& owner = modules_[module];
    PlannedClass planned;
    planned.module = module;
    const std::string noun = kNouns[(position * 7 + module) % kNouns.size()];
    const std::string unique = std::to_string(position);
    if (position % 8 == 7) {
        const std::string& base = pick(kCategoryBases);
        const std::string category = owner.prefix + noun + unique;
        planned.name = base + "+" + category;
        planned.interface = base + " (" + category + ")";
        planned.implementation = planned.interface;
        planned.folder = owner.name + "/Categories";
    } else {
        const std::string className =
            owner.prefix + noun + kRoles[position % kRoles.size()] + unique;
        planned.name = className;
        planned.interface = className + " : NSObject";
        planned.implementation = className;
        planned.folder = owner.name + "/" + kFolders[position % kFolders.size()];
    }
    planned.crlf = chance(options_.crlfPercent);
    planned.objectiveCpp = position % 13 == 5;
    owner.classes.push_back(classes_.size());
    classes_.push_back(std::move(planned));
}

void CorpusPlan::planMethods(std::size_t count, int overlapPercent) {
    std::unordered_set<std::string> used;
    while (methods_.size() < count) {
        PlannedMethod method = makeMethod(overlapPercent);
        if (used.insert(method.arguments.front().label).second) {
            firstLabels_.push_back(method.arguments.front().label);
            methods_.push_back(std::move(method));
        }
    }
}

PlannedMethod CorpusPlan::makeMethod(int overlapPercent) {
    PlannedMethod method;
    method.returnType = pick(kReturnTypes);
    method.classMethod = chance(8);
    const std::string first = uniqueFirstLabel(overlapPercent);
    method.arguments.push_back({first, pick(kTypes), "value"});
    const std::size_t extra = random_.uniform(100) < 45 ? 0 : 1 + random_.uniform(3);
    for (std::size_t k = 0; k < extra; ++k) {
        const std::string& label = pick(kLabels);
        const bool repeated =
            std::any_of(method.arguments.begin(), method.arguments.end(),
                        [&](const PlannedArgument& argument) { return argument.label == label; });
        if (!repeated) {
            method.arguments.push_back({label, pick(kTypes), argumentName(label)});
        }
    }
    method.multiLine = method.arguments.size() >= 2 && chance(30);
    return method;
}

std::string CorpusPlan::uniqueFirstLabel(int overlapPercent) {
    if (!firstLabels_.empty() && chance(overlapPercent)) {
        // A piece such as "reloadOrder:" holds the piece "loadOrder:" of another method.
        const auto& other =
            firstLabels_[random_.uniform(static_cast<std::uint32_t>(firstLabels_.size()))];
        return pick(kOverlapPrefixes) + other;
    }
    std::string label = pick(kVerbs) + pick(kNouns);
    if (chance(50)) {
        label += pick(kNouns);
    }
    if (chance(60)) {
        label += pick(kJoiners) + pick(kNouns);
    }
    return label;
}

void CorpusPlan::planImports() {
    for (const auto& module : modules_) {
        const auto& members = module.classes;
        for (std::size_t p = 0; p < members.size(); ++p) {
            PlannedClass& planned = classes_[members[p]];
            if (p % kChainLength != 0) {
                planned.headerImports.push_back(members[p - 1]); // a deep chain of headers
            }
            for (int k = 0; k < 2; ++k) {
                planned.sourceImports.push_back(
                    members[random_.uniform(static_cast<std::uint32_t>(members.size()))]);
            }
        }
    }
    // Each umbrella header is imported by a group of implementation files from anywhere.
    const std::size_t importers =
        std::min(kUmbrellaImporters, std::max<std::size_t>(1, classes_.size() / 3));
    for (std::size_t m = 0; m < modules_.size(); ++m) {
        for (std::size_t k = 0; k < importers; ++k) {
            auto& importer = classes_[random_.uniform(static_cast<std::uint32_t>(classes_.size()))];
            if (std::find(importer.umbrellaImports.begin(), importer.umbrellaImports.end(), m) ==
                importer.umbrellaImports.end()) {
                importer.umbrellaImports.push_back(m);
            }
        }
    }
}

} // namespace quillet::bench
