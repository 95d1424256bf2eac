// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/read_ahead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>

#include <algorithm>
#include <cstdint>

#include "analysis/file_identify.h"
#include "analysis/past_image.h"
#include "platform/posix_file_access.h"

namespace quibo {
namespace {

// Whether the first and the last byte of the file's start are in the page
// cache already, as they are when the cache is warm: then the run finds
// everything there, and reading it here would only copy it twice.
bool InPageCache(int fd, off_t size) {
    char byte = 0;
    iovec vector{&byte, 1};
    const off_t last = std::min<off_t>(size, static_cast<off_t>(kImageCapacity)) - 1;
    return last < 0 ||
           (::preadv2(fd, &vector, 1, 0, RWF_NOWAIT) == 1 && ::preadv2(fd, &vector, 1, last, RWF_NOWAIT) == 1);
}

// Reads the first bytes of a regular file into `image` and, for an AVI
// file, the chunk headers past them, unlocked. A FIFO or device is left
// alone: opened without blocking, it is never read here.
void ReadAsTheAnalysisWill(const std::string& path, std::vector<std::uint8_t>& image) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return;
    PosixFileHandle file(fd, true);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || InPageCache(fd, info.st_size)) return;
    const ReadResult read = file.ReadFromStart(image.data(), image.size());
    if (!read.ok) return;
    std::fill(image.begin() + static_cast<std::ptrdiff_t>(read.count), image.end(), 0);
    if (IdentifyFile(image.data(), info.st_size).type == FileType::Avi)
        ReadPastImage(file, image.data(), static_cast<std::uint64_t>(info.st_size));
}

}  // namespace

ReadAhead::ReadAhead(const std::vector<std::string>& paths, std::size_t depth) : paths_(paths), depth_(depth) {
    for (std::size_t i = 0; i < depth_ && i < paths_.size(); ++i) threads_.emplace_back([this] { ReadNext(); });
}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    moved_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void ReadAhead::Reached(std::size_t index) {
    {
        std::lock_guard lock(mutex_);
        reached_ = index;
    }
    moved_.notify_all();
}

void ReadAhead::ReadNext() {
    std::vector<std::uint8_t> image(kImageCapacity);
    for (;;) {
        std::size_t index = 0;
        bool ahead = false;
        {
            std::unique_lock lock(mutex_);
            moved_.wait(lock, [this] { return stopping_ || next_ >= paths_.size() || next_ <= reached_ + depth_; });
            if (stopping_ || next_ >= paths_.size()) return;
            index = next_++;
            // The file the run is on, or has passed, it reads itself.
            ahead = index > reached_;
        }
        if (ahead) ReadAsTheAnalysisWill(paths_[index], image);
    }
}

}  // namespace quibo
