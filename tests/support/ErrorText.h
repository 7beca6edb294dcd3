#pragma once

#include <string>

#include "base/Result.h"

namespace quillet::test {

// What a failed result says, or "" for a success: a check of the reason that also fails when
// there was no failure, and a message that is safe to build either way.
template <typename T> std::string errorText(const Result<T>& result) {
    return result ? std::string() : result.error().message;
}

} // namespace quillet::test
