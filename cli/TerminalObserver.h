#pragma once

#include <cstdio>
#include <optional>

#include "ProgressBar.h"
#include "job/RunObserver.h"

namespace quillet::cli {

// A run's progress on a stream, a line for each phase as it comes.
class TerminalObserver final : public RunObserver {
public:
    explicit TerminalObserver(std::FILE* out) : out_(out) {}

    void phaseProgress(RunPhase phase, std::uint64_t done, std::uint64_t total) override;
    // Ends the line of the last phase; call when the run is over, before anything else is said.
    void finish();

private:
    std::FILE* out_;
    std::optional<RunPhase> phase_;
    std::optional<ProgressBar> bar_;
};

} // namespace quillet::cli
