#pragma once

#include <cstdint>
#include <vector>

#include "platform/runtime_error.h"

namespace kestavian {

// A growable array whose items are numbered 1..N. Reading outside 1..N is a subscript error;
// an append stores a copy of the caller's value, so the caller may reuse its own afterwards.
template <typename T> class OneBasedArray {
public:
    // Item i (1-based); subscript error outside 1..size().
    const T& at(long i) const {
        if (i < 1 || i > static_cast<long>(items_.size()))
            raiseError(ErrorNumber::SubscriptOutOfRange);
        return items_[static_cast<std::size_t>(i - 1)];
    }
    T& at(long i) {
        if (i < 1 || i > static_cast<long>(items_.size()))
            raiseError(ErrorNumber::SubscriptOutOfRange);
        return items_[static_cast<std::size_t>(i - 1)];
    }
    const T& operator()(long i) const { return at(i); }
    T& operator()(long i) { return at(i); }

    long size() const noexcept { return static_cast<long>(items_.size()); }
    bool empty() const noexcept { return items_.empty(); }
    void clear() noexcept { items_.clear(); }
    void reserve(std::size_t n) { items_.reserve(n); }
    void append(const T& item) { items_.push_back(item); }
    void append(T&& item) { items_.push_back(std::move(item)); }

    auto begin() const noexcept { return items_.begin(); }
    auto end() const noexcept { return items_.end(); }

    bool operator==(const OneBasedArray&) const = default;

private:
    std::vector<T> items_;
};

} // namespace kestavian
