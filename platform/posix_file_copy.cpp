// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix_file_copy.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "platform/error_text.h"
#include "platform/posix_file_access.h"

namespace quibo {
namespace {

constexpr std::size_t kStep = 8 << 20;
// The finisher refused the copy and has said why.
constexpr int kFinishRefused = -1;

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A short name in `folder` for a file that exists only for a moment,
// however long the target's own name is.
std::string TemporaryName(const std::string& folder) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::string name = folder + "/.quibo-";
    for (int i = 0; i < 10; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

// Copies `total` bytes; returns 0, an errno, or ECANCELED when the observer
// cancelled.
int CopyData(int from, int to, std::uint64_t total, CopyObserver& observer) {
    std::uint64_t done = 0;
    bool kernelCopy = true;
    std::vector<char> buffer;
    while (done < total) {
        if (!observer.Progress(done, total)) return ECANCELED;
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kStep, total - done));
        ssize_t moved = -1;
        if (kernelCopy) {
            off_t in = static_cast<off_t>(done), out = static_cast<off_t>(done);
            moved = ::copy_file_range(from, &in, to, &out, want, 0);
            if (moved < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                kernelCopy = false;
                continue;
            }
        } else {
            buffer.resize(kStep);
            moved = ::pread(from, buffer.data(), want, static_cast<off_t>(done));
            for (ssize_t put = 0, at = 0; moved > 0 && at < moved; at += put) {
                put = ::pwrite(to, buffer.data() + at, static_cast<std::size_t>(moved - at),
                               static_cast<off_t>(done) + at);
                if (put < 0 && errno != EINTR) return errno;
                if (put < 0) put = 0;
            }
        }
        if (moved < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (moved == 0) return EIO;  // the source shrank under us
        done += static_cast<std::uint64_t>(moved);
    }
    observer.Progress(done, total);
    return 0;
}

// The copy while it is made: a file without a name in the target's folder,
// or, where the file system has none, one under a temporary name that goes
// again unless the copy is put in place.
class PendingCopy {
public:
    explicit PendingCopy(std::string folder) : folder_(std::move(folder)) {}
    ~PendingCopy() {
        if (fd_ >= 0) ::close(fd_);
        if (!temporary_.empty()) ::unlink(temporary_.c_str());
    }
    PendingCopy(const PendingCopy&) = delete;
    PendingCopy& operator=(const PendingCopy&) = delete;

    // 0 or an errno.
    int Create() {
        fd_ = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd_ >= 0) return 0;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return errno;
        std::string name = folder_ + "/.quibo-XXXXXX";
        fd_ = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd_ < 0) return errno;
        temporary_ = std::move(name);
        return 0;
    }
    int Fd() const { return fd_; }

    // Gives the copy, synced, the name `target`, replacing a file of that
    // name only when `replace`. 0 or an errno.
    int PutInPlace(const std::string& target, bool replace) {
        if (!temporary_.empty()) {
            if (::rename(temporary_.c_str(), target.c_str()) != 0) return errno;
            temporary_.clear();
            return SyncFolder();
        }
        // A link cannot replace a file: a replacing copy is linked under a
        // temporary name first and renamed over the target. The unnamed
        // file is reached through /proc, which needs no privilege.
        const std::string unnamed = "/proc/self/fd/" + std::to_string(fd_);
        std::string linked = target;
        while (true) {
            if (replace) linked = TemporaryName(folder_);
            if (::linkat(AT_FDCWD, unnamed.c_str(), AT_FDCWD, linked.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
            if (errno != EEXIST || !replace) return errno;
        }
        if (replace && ::rename(linked.c_str(), target.c_str()) != 0) {
            int error = errno;
            ::unlink(linked.c_str());
            return error;
        }
        return SyncFolder();
    }

private:
    int SyncFolder() const {
        int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0) return errno;
        int error = ::fsync(folder) == 0 || errno == EINVAL ? 0 : errno;
        ::close(folder);
        return error;
    }

    std::string folder_;
    std::string temporary_;
    int fd_ = -1;
};

}  // namespace

int PosixFileCopy::Copy(const std::string& source, const std::string& target, CopyObserver& observer,
                        const CopyFinisher& finish) {
    auto fail = [&](int error) {
        observer.Failed("Cannot copy " + source + " to " + target + ":\n\n" + SystemErrorText(error));
        return error;
    };
    Fd from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (from.get() < 0) return fail(errno);
    struct stat sourceInfo {};
    if (::fstat(from.get(), &sourceInfo) != 0) return fail(errno);
    if (!S_ISREG(sourceInfo.st_mode)) return fail(EINVAL);

    // A symbolic link is written through, as the file it names; one that
    // names nothing is refused rather than replaced by the copy.
    std::string destination = target;
    struct stat linkInfo {};
    if (::lstat(target.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
        char* resolved = ::realpath(target.c_str(), nullptr);
        if (resolved == nullptr) {
            if (errno != ENOENT) return fail(errno);
            observer.Failed("Cannot copy " + source + " to " + target +
                            ": it is a symbolic link to a file that does not exist.");
            return ENOENT;
        }
        destination = resolved;
        std::free(resolved);
    }
    struct stat targetInfo {};
    bool replace = ::stat(destination.c_str(), &targetInfo) == 0;
    if (replace) {
        if (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino) {
            observer.Failed("Cannot copy " + source + ": the source and the target are the same file.");
            return EINVAL;
        }
        if (S_ISDIR(targetInfo.st_mode)) return fail(EISDIR);
        if (!observer.ConfirmReplace(target)) return ECANCELED;
    }

    observer.Starting(source, target);
    PendingCopy copy(FolderOf(destination));
    if (int error = copy.Create(); error != 0) return fail(error);
    int error = CopyData(from.get(), copy.Fd(), static_cast<std::uint64_t>(sourceInfo.st_size), observer);
    if (error == ECANCELED) return error;
    if (error != 0) return fail(error);
    {
        PosixFileHandle handle(copy.Fd(), false);
        if (!finish(handle)) return kFinishRefused;
    }
    // Writable by its maker until here; the source's mode once complete.
    if (::fchmod(copy.Fd(), sourceInfo.st_mode & 07777) != 0) return fail(errno);
    if (::fsync(copy.Fd()) != 0) return fail(errno);
    if (int placed = copy.PutInPlace(destination, replace); placed != 0) return fail(placed);
    return 0;
}

}  // namespace quibo
