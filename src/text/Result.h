#pragma once

#include <QString>

#include <utility>

namespace tarl {

// What a routine of the logic gives back when it can fail for a reason the user should read.
//
// `value` is what it made; `ok` says whether it worked; `error` is then one sentence saying
// why, ready for the status bar or a box. A failed result holds the type's empty value, so a
// caller that reads only `value` behaves as if nothing were there. The logic never shows the
// sentence itself: the window that called it does. A routine with nothing to give back returns
// `Result<>`.
//
// Elsewhere: `std::optional` only where "absent" needs no reason (a number that does not
// parse), and no `bool` + `QString*` out-parameter pairs.
struct Done {};

template <typename T = Done> struct [[nodiscard]] Result {
    T value{};
    bool ok = true;
    QString error;

    Result() = default;
    // A result that worked: `return value;` or `return {value};`.
    Result(T made) : value(std::move(made)) {} // NOLINT(google-explicit-constructor)

    static Result failed(QString why = {}) {
        Result result;
        result.ok = false;
        result.error = std::move(why);
        return result;
    }
    explicit operator bool() const { return ok; }
};

} // namespace tarl
