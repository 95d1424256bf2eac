// A whole-file copy with progress, for Save As: it asks before replacing an
// existing file, can be cancelled, and leaves nothing behind when it fails.
#pragma once

#include <cstdint>
#include <string>

namespace quibo {

class CopyObserver {
public:
    virtual ~CopyObserver() = default;
    // Whether an existing `target` may be replaced.
    virtual bool ConfirmReplace(const std::string& target) = 0;
    // Bytes copied so far of `total`; false cancels the copy.
    virtual bool Progress(std::uint64_t done, std::uint64_t total) = 0;
    // Why the copy failed, in words for the user.
    virtual void Failed(const std::string& text) = 0;
};

class FileCopy {
public:
    virtual ~FileCopy() = default;
    // 0 when the whole file was copied; non-zero on failure, refusal or
    // cancel, with the target as it was before.
    virtual int Copy(const std::string& source, const std::string& target, CopyObserver& observer) = 0;
};

}  // namespace quibo
