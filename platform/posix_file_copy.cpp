#include "platform/posix_file_copy.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "platform/error_text.h"

namespace quibo {
namespace {

constexpr std::size_t kStep = 8 << 20;

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

std::string TemporaryPattern(const std::string& target) {
    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + name + ".XXXXXX";
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

}  // namespace

int PosixFileCopy::Copy(const std::string& source, const std::string& target, CopyObserver& observer) {
    auto fail = [&](int error) {
        observer.Failed("Cannot copy " + source + " to " + target + ":\n\n" + SystemErrorText(error));
        return error;
    };
    Fd from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (from.get() < 0) return fail(errno);
    struct stat sourceInfo {};
    if (::fstat(from.get(), &sourceInfo) != 0) return fail(errno);
    if (!S_ISREG(sourceInfo.st_mode)) return fail(EINVAL);

    struct stat targetInfo {};
    if (::stat(target.c_str(), &targetInfo) == 0) {
        if (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino) {
            observer.Failed("Cannot copy " + source + ": the source and the target are the same file.");
            return EINVAL;
        }
        if (S_ISDIR(targetInfo.st_mode)) return fail(EISDIR);
        if (!observer.ConfirmReplace(target)) return ECANCELED;
    }

    std::string temporary = TemporaryPattern(target);
    Fd to(::mkostemp(temporary.data(), O_CLOEXEC));
    if (to.get() < 0) return fail(errno);
    int error = CopyData(from.get(), to.get(), static_cast<std::uint64_t>(sourceInfo.st_size), observer);
    if (error == 0 && ::fchmod(to.get(), sourceInfo.st_mode & 07777) != 0) error = errno;
    if (error == 0 && ::fsync(to.get()) != 0) error = errno;
    if (error == 0 && ::close(to.release()) != 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error == ECANCELED ? error : fail(error);
    }
    return 0;
}

}  // namespace quibo
