// quillet-corpus FOLDER [--small SEED]: writes a generated project into a new folder.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "CorpusGenerator.h"

int main(int argc, char** argv) {
    using namespace quillet::bench;
    const bool shapeOk = argc == 2 || (argc == 4 && std::string(argv[2]) == "--small");
    // A folder named like an option ("--help") is a mistake, not a place to write.
    if (!shapeOk || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: quillet-corpus FOLDER [--small SEED]\n");
        return 2;
    }
    const auto options = argc == 4 ? CorpusOptions::small(std::strtoull(argv[3], nullptr, 10))
                                   : CorpusOptions::large();
    try {
        const auto stats = generateCorpus(options, argv[1]);
        std::printf("%zu files, %zu lines, %zu bytes, %zu methods\n", stats.files, stats.lines,
                    stats.bytes, stats.methods);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillet-corpus: %s\n", error.what());
        return 1;
    }
    return 0;
}
