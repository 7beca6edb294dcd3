// How many of the names a class dump would show a rename changed: quillet-names BEFORE AFTER
// compares two copies of a project, kind by kind. A name counts as changed when the renamed
// copy no longer has it.
#include <cstdio>

#include "NameCensus.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillet-names BEFORE AFTER\n");
        return 2;
    }
    const auto before = quillet::bench::censusOf(argv[1]);
    auto after = quillet::bench::censusOf(argv[2]);
    std::size_t allNames = 0;
    std::size_t allChanged = 0;
    std::printf("%-11s %8s %8s %7s\n", "kind", "names", "changed", "share");
    for (const auto& [kind, names] : before) {
        const auto& renamed = after[kind];
        std::size_t changed = 0;
        for (const auto& name : names) {
            changed += renamed.contains(name) ? 0 : 1;
        }
        allNames += names.size();
        allChanged += changed;
        std::printf("%-11s %8zu %8zu %6.1f%%\n", kind.c_str(), names.size(), changed,
                    names.empty()
                        ? 0.0
                        : 100.0 * static_cast<double>(changed) / static_cast<double>(names.size()));
    }
    std::printf("%-11s %8zu %8zu %6.1f%%\n", "all", allNames, allChanged,
                allNames == 0
                    ? 0.0
                    : 100.0 * static_cast<double>(allChanged) / static_cast<double>(allNames));
    return 0;
}
