#pragma once

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace quillet {

// Why something failed, in words the user can act on ("cannot write /p/x: No space left").
struct Error {
    std::string message;
};

// A value, or the reason there is none. The one way failures cross a module boundary: nothing
// throws across one, and an absent value never doubles as an error.
template <typename T, typename E = Error> class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(E error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & {
        assert(ok());
        return std::get<0>(state_);
    }
    const T& value() const& {
        assert(ok());
        return std::get<0>(state_);
    }
    T&& value() && {
        assert(ok());
        return std::get<0>(std::move(state_));
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    // The value, or `fallback` where only a value matters and a failure means "use this".
    template <typename U> T value_or(U&& fallback) const& {
        return ok() ? std::get<0>(state_) : static_cast<T>(std::forward<U>(fallback));
    }

    const E& error() const {
        assert(!ok());
        return std::get<1>(state_);
    }

private:
    std::variant<T, E> state_;
};

// Success, or the reason for a failure, for work that has no value to give back.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error) : error_(std::move(error)), failed_(true) {}
    static Status success() { return {}; }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const {
        assert(failed_);
        return error_;
    }

private:
    Error error_;
    bool failed_ = false;
};

} // namespace quillet
