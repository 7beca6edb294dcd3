#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "CorpusPlan.h"
#include "random/RandomSource.h"

namespace quillet::bench {

// Renders the files of a planned project as Objective-C text with "\n" line ends.
class ObjcFileWriter {
public:
    // `selectorsInText`: doc comments and NSSelectorFromString strings name selectors.
    ObjcFileWriter(const CorpusPlan& plan, std::uint64_t seed, bool selectorsInText);

    std::string header(std::size_t classIndex);
    std::string implementation(std::size_t classIndex);
    std::string umbrella(std::size_t moduleIndex) const;

private:
    struct Out {
        std::string text;
        std::size_t lines = 0;
        void line(const std::string& content);
    };

    std::string declaration(const PlannedMethod& method, bool asDefinition) const;
    std::string call(const PlannedMethod& method, const std::string& receiver,
                     const std::string& indent);
    void helperMethod(Out& out, std::size_t number, const std::vector<std::size_t>& visible,
                      const PlannedClass& owner);
    void definition(Out& out, const PlannedMethod& method, const std::vector<std::size_t>& visible);
    std::vector<std::size_t> visibleMethods(const PlannedClass& planned) const;
    std::string receiverFor(std::size_t method) const;
    std::size_t pickFrom(const std::vector<std::size_t>& values);
    bool chance(int percent);

    const CorpusPlan& plan_;
    SeededRandom random_;
    bool selectorsInText_;
    std::vector<std::size_t> ownerOfMethod_;
};

} // namespace quillet::bench
