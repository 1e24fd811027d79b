#pragma once

#include <string>
#include <utility>
#include <variant>

namespace kestavian::stats {

// Why a number could not be had, in one line a user can act on. The statistics hand out no NaN
// or infinity: where a figure does not exist or cannot be trusted, the caller gets this instead.
struct Refusal {
    std::string reason;
};

inline Refusal refuse(std::string reason) {
    return Refusal{std::move(reason)};
}

// A value or the refusal that stands in for it. Asking a refusal for its value (or a value for
// its reason) throws std::bad_variant_access rather than reading anything undefined.
template <class T> class Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Refusal refusal) : state_(std::move(refusal)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<T>(state_); }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const std::string& reason() const { return std::get<Refusal>(state_).reason; }

private:
    std::variant<T, Refusal> state_;
};

} // namespace kestavian::stats
