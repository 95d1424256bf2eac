// SPDX-License-Identifier: GPL-3.0-or-later
// FileAccess over POSIX: open(2) plus flock(LOCK_EX | LOCK_NB).
#pragma once

#include "platform/file_access.h"

namespace quibo {

class PosixFileAccess final : public FileAccess {
public:
    OpenResult OpenExclusiveRead(const std::string& path) override;
    OpenResult OpenExclusiveReadWrite(const std::string& path) override;
    OpenResult OpenRead(const std::string& path) override;
};

// A handle over an open descriptor; it closes the descriptor only when it
// owns it.
class PosixFileHandle final : public FileHandle {
public:
    PosixFileHandle(int fd, bool owned) : fd_(fd), owned_(owned) {}
    ~PosixFileHandle() override;
    PosixFileHandle(const PosixFileHandle&) = delete;
    PosixFileHandle& operator=(const PosixFileHandle&) = delete;

    ReadResult ReadAt(std::uint64_t offset, std::uint8_t* buffer, std::size_t count) override;
    SizeResult Size() override;
    TimeResult LastWriteTime() override;
    std::optional<FileIdentity> Identity() override;
    WriteResult WriteAtStart(const std::uint8_t* bytes, std::size_t count) override;

private:
    WriteResult PutAtStart(const std::uint8_t* bytes, std::size_t count);

    int fd_;
    bool owned_;
};

}  // namespace quibo
