#pragma once

#include <vector>

#include "wordbank/WordModel.h"

namespace quillet::app {

// What the word bank screen and the cloud list share for the whole process: the banks the list
// last fetched, and the row picked in it (-1 for none).
class CloudWords {
public:
    static std::vector<quillet::WordModel>& cache();
    static int& selectedCloudIndex();
};

} // namespace quillet::app
