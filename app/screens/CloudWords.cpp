#include "CloudWords.h"

namespace quillet::app {

std::vector<quillet::WordModel>& CloudWords::cache() {
    static std::vector<quillet::WordModel> banks;
    return banks;
}

int& CloudWords::selectedCloudIndex() {
    static int index = -1;
    return index;
}

} // namespace quillet::app
