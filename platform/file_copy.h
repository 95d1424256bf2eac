// SPDX-License-Identifier: GPL-3.0-or-later
// A whole-file copy with progress, for Save As: it asks before replacing an
// existing file, can be cancelled, and leaves nothing behind when it fails.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/file_access.h"

namespace quibo {

class CopyObserver {
public:
    virtual ~CopyObserver() = default;
    // The copy of `source` to `target` begins.
    virtual void Starting(const std::string& source, const std::string& target) {
        (void)source;
        (void)target;
    }
    // Whether an existing `target` may be replaced.
    virtual bool ConfirmReplace(const std::string& target) = 0;
    // Bytes copied so far of `total`; false cancels the copy.
    virtual bool Progress(std::uint64_t done, std::uint64_t total) = 0;
    // Why the copy failed, in words for the user.
    virtual void Failed(const std::string& text) = 0;
};

// Runs on the complete copy, open for reading and writing, before it takes
// the target's name. False keeps the copy from being made; the finisher has
// told the user why.
using CopyFinisher = std::function<bool(FileHandle& copy)>;

class FileCopy {
public:
    virtual ~FileCopy() = default;
    // 0 when the whole file was copied, finished and put at `target`;
    // non-zero on failure, refusal or cancel, with the target as it was
    // before.
    virtual int Copy(const std::string& source, const std::string& target, CopyObserver& observer,
                     const CopyFinisher& finish) = 0;
};

}  // namespace quibo
