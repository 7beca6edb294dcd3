#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "CorpusGenerator.h"
#include "random/RandomSource.h"

namespace quillet::bench {

// One argument of a planned method: the label before the colon, the type and the name.
struct PlannedArgument {
    std::string label;
    std::string type;
    std::string name;
};

struct PlannedMethod {
    std::string returnType;
    std::vector<PlannedArgument> arguments;
    bool classMethod = false;
    bool multiLine = false; // declared with one argument per line, colons aligned

    std::string selector() const;
};

struct PlannedClass {
    std::string name;      // file stem, e.g. "ORDOrderStore" or "NSString+ORDPricing"
    std::string interface; // e.g. "ORDOrderStore : NSObject" or "NSString (ORDPricing)"
    std::string implementation;
    std::string folder; // relative to the root
    std::size_t module = 0;
    std::vector<std::size_t> methods;         // indices into CorpusPlan::methods()
    std::vector<std::size_t> headerImports;   // classes whose headers the header imports
    std::vector<std::size_t> sourceImports;   // further headers the implementation imports
    std::vector<std::size_t> umbrellaImports; // modules whose umbrella the implementation imports
    bool crlf = false;
    bool objectiveCpp = false; // implementation is a .mm file
};

struct PlannedModule {
    std::string name;
    std::string prefix;
    std::vector<std::size_t> classes;
};

// The shape of a generated project, decided up front so files can refer to one another.
class CorpusPlan {
public:
    explicit CorpusPlan(const CorpusOptions& options);

    const std::vector<PlannedModule>& modules() const { return modules_; }
    const std::vector<PlannedClass>& classes() const { return classes_; }
    const std::vector<PlannedMethod>& methods() const { return methods_; }
    std::size_t linesPerFile() const { return linesPerFile_; }

private:
    void planModules(std::size_t classCount);
    void planClass(std::size_t module, std::size_t position);
    void planMethods(std::size_t count, int overlapPercent);
    PlannedMethod makeMethod(int overlapPercent);
    std::string uniqueFirstLabel(int overlapPercent);
    void planImports();

    const std::string& pick(const std::vector<std::string>& words);
    bool chance(int percent);

    const CorpusOptions options_;
    SeededRandom random_;
    std::vector<PlannedModule> modules_;
    std::vector<PlannedClass> classes_;
    std::vector<PlannedMethod> methods_;
    std::vector<std::string> firstLabels_;
    std::size_t linesPerFile_ = 0;
};

} // namespace quillet::bench
