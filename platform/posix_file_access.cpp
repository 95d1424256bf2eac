// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix_file_access.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace quibo {

PosixFileHandle::~PosixFileHandle() {
    if (owned_) ::close(fd_);
}

ReadResult PosixFileHandle::ReadAt(std::uint64_t offset, std::uint8_t* buffer, std::size_t count) {
    ReadResult result;
    while (result.count < count) {
        ssize_t got = ::pread(fd_, buffer + result.count, count - result.count,
                              static_cast<off_t>(offset + result.count));
        if (got < 0) {
            if (errno == EINTR) continue;
            result.error = errno;
            return result;
        }
        if (got == 0) break;
        result.count += static_cast<std::size_t>(got);
    }
    result.ok = true;
    return result;
}

SizeResult PosixFileHandle::Size() {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return {false, 0, errno};
    return {true, static_cast<std::int64_t>(info.st_size), 0};
}

TimeResult PosixFileHandle::LastWriteTime() {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return {false, 0, errno};
    return {true, info.st_mtime, 0};
}

std::optional<FileIdentity> PosixFileHandle::Identity() {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

WriteResult PosixFileHandle::WriteAtStart(const std::uint8_t* bytes, std::size_t count) {
    WriteResult result;
    // A write past the file size limit would stop part-way: refuse it
    // before a byte changes.
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && count > limit.rlim_cur) {
        result.error = EFBIG;
        return result;
    }
    // What the write replaces, to put back should it stop part-way.
    std::vector<std::uint8_t> original(count);
    ReadResult before = ReadFromStart(original.data(), count);
    if (!before.ok) {
        result.error = before.error;
        return result;
    }
    original.resize(before.count);
    result = PutAtStart(bytes, count);
    if (result.ok && ::fsync(fd_) != 0) {
        result.ok = false;
        result.error = errno;
    }
    if (!result.ok && result.count > 0) {
        PutAtStart(original.data(), std::min(result.count, original.size()));
        ::fsync(fd_);
    }
    return result;
}

WriteResult PosixFileHandle::PutAtStart(const std::uint8_t* bytes, std::size_t count) {
    WriteResult result;
    while (result.count < count) {
        ssize_t put = ::pwrite(fd_, bytes + result.count, count - result.count, static_cast<off_t>(result.count));
        if (put < 0) {
            if (errno == EINTR) continue;
            result.error = errno;
            return result;
        }
        if (put == 0) {
            result.error = EIO;
            return result;
        }
        result.count += static_cast<std::size_t>(put);
    }
    result.ok = true;
    return result;
}

namespace {

OpenResult Open(const std::string& path, int access, bool exclusive) {
    // O_NONBLOCK keeps a FIFO from hanging the open; it is dropped again for
    // regular files.
    int fd = ::open(path.c_str(), access | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {nullptr, errno};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        int error = errno;
        ::close(fd);
        return {nullptr, error};
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        return {nullptr, EISDIR};
    }
    if (S_ISREG(info.st_mode)) ::fcntl(fd, F_SETFL, access);
    while (exclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        int error = errno;
        ::close(fd);
        return {nullptr, error};
    }
    return {std::make_unique<PosixFileHandle>(fd, true), 0};
}

}  // namespace

OpenResult PosixFileAccess::OpenExclusiveRead(const std::string& path) { return Open(path, O_RDONLY, true); }

OpenResult PosixFileAccess::OpenExclusiveReadWrite(const std::string& path) { return Open(path, O_RDWR, true); }

OpenResult PosixFileAccess::OpenRead(const std::string& path) { return Open(path, O_RDONLY, false); }

}  // namespace quibo
