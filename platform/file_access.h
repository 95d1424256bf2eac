// SPDX-License-Identifier: GPL-3.0-or-later
// Files as the core sees them: an exclusive open for reading, bounded
// reads, the 64-bit size, the last-write time and which file it is.
// Failures carry the errno value so the caller can show the system's own
// text.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace quibo {

struct ReadResult {
    bool ok = false;
    std::size_t count = 0;  // bytes delivered
    int error = 0;          // errno when !ok
};

struct SizeResult {
    bool ok = false;
    std::int64_t bytes = 0;
    int error = 0;
};

struct TimeResult {
    bool ok = false;
    std::time_t seconds = 0;  // last write, seconds since the epoch
    int error = 0;
};

struct WriteResult {
    bool ok = false;
    std::size_t count = 0;  // bytes written
    int error = 0;          // errno when !ok
};

// Which file a handle reaches: two handles with the same identity reach the
// same file, whatever names led to it.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

class FileHandle {
public:
    virtual ~FileHandle() = default;
    // Reads up to `count` bytes from `offset` into `buffer`; stops early
    // only at the end of the file or on an error.
    virtual ReadResult ReadAt(std::uint64_t offset, std::uint8_t* buffer, std::size_t count) = 0;
    ReadResult ReadFromStart(std::uint8_t* buffer, std::size_t count) { return ReadAt(0, buffer, count); }
    virtual SizeResult Size() = 0;
    virtual TimeResult LastWriteTime() = 0;
    // Files held only in memory have no identity of their own.
    virtual std::optional<FileIdentity> Identity() { return std::nullopt; }
    // Writes `count` bytes at offset 0, never truncating, and succeeds only
    // once they have reached the disk. A handle opened for reading refuses.
    virtual WriteResult WriteAtStart(const std::uint8_t* bytes, std::size_t count) {
        (void)bytes;
        (void)count;
        return {false, 0, EBADF};
    }
};

struct OpenResult {
    std::unique_ptr<FileHandle> handle;  // null on failure
    int error = 0;
};

class FileAccess {
public:
    virtual ~FileAccess() = default;
    // Opens an existing file for reading with exclusive access: a second
    // opener that also asks for exclusive access fails while this is open.
    virtual OpenResult OpenExclusiveRead(const std::string& path) = 0;
    // Opens an existing file for reading whatever locks others hold on it.
    // Sources without locks open it as above.
    virtual OpenResult OpenRead(const std::string& path) { return OpenExclusiveRead(path); }
    // Opens an existing file for reading and writing, exclusively, without
    // truncating it. Sources that cannot write refuse.
    virtual OpenResult OpenExclusiveReadWrite(const std::string& path) {
        (void)path;
        return {nullptr, EROFS};
    }
};

}  // namespace quibo
