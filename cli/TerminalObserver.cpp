#include "TerminalObserver.h"

namespace quillet::cli {

namespace {

ProgressBar barFor(std::FILE* out, RunPhase phase) {
    switch (phase) {
    case RunPhase::listing:
        return {out, "checking", ProgressUnit::entries};
    case RunPhase::reading:
        return {out, "reading", ProgressUnit::files};
    case RunPhase::backup:
        return {out, "backup", ProgressUnit::bytes};
    case RunPhase::renaming:
        return {out, "renaming", ProgressUnit::methods};
    case RunPhase::writing:
        return {out, "writing", ProgressUnit::files};
    }
    return {out, "working", ProgressUnit::entries};
}

} // namespace

void TerminalObserver::phaseProgress(RunPhase phase, std::uint64_t done, std::uint64_t total) {
    if (phase != phase_) {
        finish();
        phase_ = phase;
        bar_.emplace(barFor(out_, phase));
    }
    bar_->update(done, total);
}

void TerminalObserver::finish() {
    if (bar_) {
        bar_->finish();
        bar_.reset();
    }
    phase_.reset();
}

} // namespace quillet::cli
