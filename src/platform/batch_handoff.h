#pragma once

#include <cstddef>
#include <functional>
#include <future>
#include <utility>
#include <vector>

namespace kestavian {

// Hands items to a consumer in batches. Alongside, each full batch is consumed on another thread
// while the next one fills: one batch at a time and in the order given, so the consumer sees what
// it would see taking the items one by one. Otherwise batches are consumed on the caller's thread.
// A failure of the consumer is thrown from the push or finish that follows it.
template <class T> class BatchHandoff {
public:
    using Consumer = std::function<void(const std::vector<T>&)>;

    BatchHandoff(std::size_t batchSize, bool alongside, Consumer consume)
        : batchSize_(batchSize), alongside_(alongside), consume_(std::move(consume)) {
        batch_.reserve(batchSize_);
    }
    // Waits for a batch still being consumed: the consumer's state is the caller's to read next.
    ~BatchHandoff() {
        if (consuming_.valid())
            consuming_.wait();
    }
    BatchHandoff(const BatchHandoff&) = delete;
    BatchHandoff& operator=(const BatchHandoff&) = delete;

    void push(T item) {
        batch_.push_back(std::move(item));
        if (batch_.size() >= batchSize_)
            handOver(alongside_);
    }

    // Consumes what is left and returns once every item has been consumed.
    void finish() { handOver(false); }

private:
    void handOver(bool alongside) {
        if (consuming_.valid())
            consuming_.get();
        if (!alongside) {
            consume_(batch_);
            batch_.clear();
            return;
        }
        consuming_ = std::async(std::launch::async,
                                [this, taken = std::exchange(batch_, {})] { consume_(taken); });
        batch_.reserve(batchSize_);
    }

    std::size_t batchSize_;
    bool alongside_;
    Consumer consume_;
    std::vector<T> batch_;
    std::future<void> consuming_;
};

} // namespace kestavian
