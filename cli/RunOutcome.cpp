#include "RunOutcome.h"

#include "Commands.h"

namespace quillet::cli {

RunOutcome outcomeOf(const RunReport& report, bool wrote) {
    if (report.refusal) {
        return {couldNotStart, "refused"};
    }
    if (!wrote) {
        const bool whole = report.inaccessible.empty() && report.unreadableFiles.empty();
        return whole ? RunOutcome{done, "done"} : RunOutcome{incomplete, "incomplete"};
    }
    // Neither a failed backup nor a name list that could not be written let anything be renamed.
    if (report.backupFailed() || !report.writes.listWritten) {
        return {couldNotStart, "failed"};
    }
    return report.complete() ? RunOutcome{done, "done"} : RunOutcome{incomplete, "incomplete"};
}

} // namespace quillet::cli
