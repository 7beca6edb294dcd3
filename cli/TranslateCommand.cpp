#include "TranslateCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "Commands.h"
#include "engine/NameTranslation.h"

namespace quillet::cli {

namespace {

constexpr std::string_view standardInput = "-";

// Standard output, keeping its first failure: after one, nothing more is written, and the
// command must not end as if it had translated everything.
class Output {
public:
    void write(std::string_view bytes) {
        if (failure_.empty() &&
            std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
            failure_ = std::strerror(errno);
        }
    }
    void finish() {
        if (failure_.empty() && std::fflush(stdout) != 0) {
            failure_ = std::strerror(errno);
        }
    }
    bool failed() const { return !failure_.empty(); }
    const std::string& failure() const { return failure_; }

private:
    std::string failure_;
};

// Translates what `fd` holds as it comes, up to the last whole line of each block read (no
// translation reaches past a line's end), so a log piped in is written back while it grows and
// a large file is never held whole. What was read is written even when reading fails.
Status translateStream(const NameTranslation& translation, int fd, Output& out) {
    std::vector<char> block(std::size_t{1} << 18);
    std::string pending;
    while (!out.failed()) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            const int error = got < 0 ? errno : 0;
            out.write(translation.translate(pending));
            return error == 0 ? Status::success() : Status(Error{std::strerror(error)});
        }
        const std::string_view read(block.data(), static_cast<std::size_t>(got));
        const auto lineEnd = read.rfind('\n');
        pending.append(read);
        if (lineEnd != std::string_view::npos) {
            const auto whole = pending.size() - (read.size() - lineEnd - 1);
            out.write(translation.translate(std::string_view(pending).substr(0, whole)));
            pending.erase(0, whole);
        }
    }
    return Status::success();
}

Status translateInput(const NameTranslation& translation, const std::string& input, Output& out) {
    const bool fromStandardInput = input == standardInput;
    const std::string name = fromStandardInput ? "standard input" : input;
    const int fd = fromStandardInput ? STDIN_FILENO : ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Error{"cannot read " + name + ": " + std::strerror(errno)};
    }
    const auto translated = translateStream(translation, fd, out);
    if (!fromStandardInput) {
        ::close(fd);
    }
    if (!translated) {
        return Error{"cannot read " + name + ": " + translated.error().message};
    }
    return Status::success();
}

} // namespace

int runTranslate(const Arguments& args) {
    const auto table = NameTable::read(args.namesFile);
    if (!table) {
        std::cerr << "quillet-cli: " << table.error().message << "\n";
        return couldNotStart;
    }
    const NameTranslation translation(*table);
    for (const auto& entry : translation.leftOut()) {
        std::cerr << "quillet-cli: " << args.namesFile
                  << ": not a name a text can hold, left out: " << kindWord(entry.kind) << " "
                  << entry.from << " -> " << entry.to << "\n";
    }
    const std::vector<std::string> standardInputOnly = {std::string(standardInput)};
    Output out;
    bool everyInputRead = true;
    for (const auto& input : args.inputs.empty() ? standardInputOnly : args.inputs) {
        if (const auto translated = translateInput(translation, input, out); !translated) {
            std::cerr << "quillet-cli: " << translated.error().message << "\n";
            everyInputRead = false;
        }
        if (out.failed()) {
            break;
        }
    }
    out.finish();
    if (out.failed()) {
        std::cerr << "quillet-cli: cannot write the translation: " << out.failure() << "\n";
        return couldNotStart;
    }
    return everyInputRead ? done : couldNotStart;
}

} // namespace quillet::cli
