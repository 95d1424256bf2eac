// SPDX-License-Identifier: GPL-3.0-or-later
// Reads what the analysis of the files a run opens next will read (their
// first 100,000 bytes and the chunk headers past them), on background
// threads, at most `depth` files past the one being analysed: on a cold
// cache or a network share those reads overlap instead of waiting one after
// another. Nothing is handed over and no file stays open or locked: the
// bytes wait in the kernel's page cache, where the run's own reads find
// them.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quibo {

class ReadAhead {
public:
    // `depth` files are read at a time, each by a thread of its own; none
    // when `depth` is 0.
    ReadAhead(const std::vector<std::string>& paths, std::size_t depth);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The run has reached paths[index]: the files up to index + depth may
    // be read.
    void Reached(std::size_t index);

private:
    void ReadNext();

    const std::vector<std::string>& paths_;
    const std::size_t depth_;
    std::mutex mutex_;
    std::condition_variable moved_;
    std::size_t next_ = 0;
    std::size_t reached_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace quibo
