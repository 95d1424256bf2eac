// SPDX-License-Identifier: GPL-3.0-or-later
// Work on many items by several threads at once, each with a state of its
// own, whose results are used in the items' order on the calling thread.
// At most twice as many results as threads wait to be used, so memory
// stays flat over any number of items.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace quibo {

template <class State, class Result>
void RunInOrder(std::size_t count, std::size_t workers, const std::function<std::unique_ptr<State>()>& makeState,
                const std::function<Result(State&, std::size_t)>& make, const std::function<void(Result&)>& use) {
    const std::size_t capacity = 2 * workers;
    std::vector<std::optional<Result>> waiting(capacity);
    std::mutex mutex;
    // The caller waits for the next result; a worker for a free slot.
    std::condition_variable ready, freed;
    std::size_t next = 0, used = 0;
    auto work = [&] {
        const std::unique_ptr<State> state = makeState();
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex);
                // The slot of item `index` is free once item index - capacity is used.
                freed.wait(lock, [&] { return next >= count || next < used + capacity; });
                if (next >= count) return;
                index = next++;
            }
            Result result = make(*state, index);
            bool awaited = false;
            {
                std::lock_guard lock(mutex);
                waiting[index % capacity].emplace(std::move(result));
                awaited = index == used;
            }
            if (awaited) ready.notify_one();
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < workers && i < count; ++i) threads.emplace_back(work);
    for (; used < count;) {
        std::optional<Result> result;
        {
            std::unique_lock lock(mutex);
            ready.wait(lock, [&] { return waiting[used % capacity].has_value(); });
            result.swap(waiting[used % capacity]);
            ++used;
        }
        freed.notify_one();
        use(*result);
    }
    freed.notify_all();
    for (std::thread& thread : threads) thread.join();
}

}  // namespace quibo
