// Times the backup of a large project folder against `zip -qr` of the same folder, run
// alternately, and prints the medians, their ratio and both archive sizes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "CorpusGenerator.h"
#include "backup/FolderBackup.h"
#include "log/Console.h"

namespace stdfs = std::filesystem;
using namespace quillet;

namespace {

using Clock = std::chrono::steady_clock;

// Files that do not compress, as images and archives in a real project: `count` files of
// `bytes` each in a few folders.
void addAssets(const stdfs::path& root, std::size_t count, std::size_t bytes) {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    std::string content(bytes, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t k = 0; k + 8 <= content.size(); k += 8) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            std::memcpy(content.data() + k, &state, 8);
        }
        const stdfs::path folder = root / "Assets.xcassets" / ("Set" + std::to_string(i % 20));
        stdfs::create_directories(folder);
        std::ofstream(folder / ("image" + std::to_string(i) + ".png"), std::ios::binary)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
    }
}

std::uintmax_t treeBytes(const stdfs::path& root) {
    std::uintmax_t total = 0;
    for (const auto& entry : stdfs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            total += entry.file_size();
        }
    }
    return total;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    stdfs::path workParent = stdfs::temp_directory_path();
    int runs = 3;
    std::size_t assets = 600;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--work" && i + 1 < argc) {
            workParent = argv[++i];
        } else if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--assets" && i + 1 < argc) {
            assets = static_cast<std::size_t>(std::max(0, std::atoi(argv[++i])));
        } else {
            std::fprintf(stderr,
                         "usage: quillet-backup-bench [--work DIR] [--runs N] [--assets N]\n");
            return 2;
        }
    }
    const stdfs::path work = workParent / "quillet-backup-bench";
    stdfs::remove_all(work);
    stdfs::create_directories(work / "home");
    ::setenv("HOME", (work / "home").c_str(), 1);
    Console::shared().setEcho(false);

    const stdfs::path project = work / "BigApp";
    const auto stats = bench::generateCorpus(bench::CorpusOptions::large(), project);
    addAssets(project, assets, 512 * 1024);
    std::printf("folder: %zu source files and %zu images of 512 KB, %.0f MB\n", stats.files, assets,
                static_cast<double>(treeBytes(project)) / 1e6);

    std::vector<double> ours, zip;
    std::uintmax_t oursBytes = 0, zipBytes = 0;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        const auto archive = backupFolder(project.string(), (work / "ours").string());
        ours.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        if (!archive) {
            std::fprintf(stderr, "the backup failed: %s\n", archive.error().message.c_str());
            return 1;
        }
        oursBytes = stdfs::file_size(*archive);
        stdfs::remove(*archive);

        const std::string zipArchive = (work / "zip.zip").string();
        const auto child = bench::runChild("/usr/bin/zip", {"-qr", zipArchive, project.string()},
                                           (work / "home").string());
        if (child.exitCode != 0) {
            std::fprintf(stderr, "zip failed with exit code %d\n", child.exitCode);
            return 1;
        }
        zip.push_back(child.seconds);
        zipBytes = stdfs::file_size(zipArchive);
        stdfs::remove(zipArchive);
    }
    std::printf("backupFolder: median %.3f s of %d, archive %.1f MB\n", median(ours), runs,
                static_cast<double>(oursBytes) / 1e6);
    std::printf("zip -qr:      median %.3f s of %d, archive %.1f MB\n", median(zip), runs,
                static_cast<double>(zipBytes) / 1e6);
    std::printf("ratio backupFolder / zip -qr: %.2f\n", median(ours) / median(zip));
    stdfs::remove_all(work);
    return 0;
}
