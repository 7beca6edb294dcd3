// Result and Status: what a caller reads of a success and of a failure.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/Result.h"

using namespace quillet;

namespace {

struct Detail {
    int code = 0;
};

Result<std::string> lookUp(bool found) {
    if (!found) {
        return Error{"not there"};
    }
    return std::string("value");
}

} // namespace

TEST(Result, HoldsEitherTheValueOrTheError) {
    auto found = lookUp(true);
    ASSERT_TRUE(found.ok());
    EXPECT_TRUE(static_cast<bool>(found));
    EXPECT_EQ(*found, "value");
    EXPECT_EQ(found->size(), 5u);
    found->append("!");
    EXPECT_EQ(found.value(), "value!");
    EXPECT_EQ(found.value_or("fallback"), "value!");

    const auto missing = lookUp(false);
    EXPECT_FALSE(missing.ok());
    EXPECT_FALSE(static_cast<bool>(missing));
    EXPECT_EQ(missing.error().message, "not there");
    EXPECT_EQ(missing.value_or("fallback"), "fallback");
}

TEST(Result, MovesAValueThatCannotBeCopiedOut) {
    Result<std::unique_ptr<int>> made(std::make_unique<int>(7));
    ASSERT_TRUE(made);
    const std::unique_ptr<int> taken = std::move(made).value();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(*taken, 7);
}

TEST(Result, CarriesAnErrorTypeOfItsOwn) {
    const Result<int, Detail> failed(Detail{42});
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().code, 42);
    EXPECT_EQ(failed.value_or(3), 3);
    const Result<int, Detail> succeeded(5);
    EXPECT_EQ(*succeeded, 5);
}

TEST(Status, IsASuccessUnlessMadeFromAnError) {
    EXPECT_TRUE(Status().ok());
    EXPECT_TRUE(Status::success());
    const Status failed = Error{"disk full"};
    EXPECT_FALSE(failed.ok());
    EXPECT_FALSE(static_cast<bool>(failed));
    EXPECT_EQ(failed.error().message, "disk full");
}
