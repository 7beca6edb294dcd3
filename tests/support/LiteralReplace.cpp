#include "support/LiteralReplace.h"

#include "engine/LiteralRename.h"
#include "engine/RenameTexts.h"
#include "log/Log.h"
#include "notify/Notify.h"

namespace quillet::test {

void replaceLiterally(MRenameTool& tool, const std::vector<RenamePair>& pairs) {
    auto& literal = dynamic_cast<LiteralRename&>(tool.mode());
    std::string nameList;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        Notify::center().post(Notification::progress, progressText(i + 1, pairs.size(), pairs[i]));
        nameList += nameListEntry(i + 1, pairs.size(), pairs[i]);
        QLOG_AS("replace(factor:)", "Replacing " + pairs[i].old.selector());
        for (auto& file : literal.allFiles()) {
            file.rewrite(pairs[i].old, pairs[i].new_);
        }
    }
    tool.writeOutputs(nameList);
}

} // namespace quillet::test
