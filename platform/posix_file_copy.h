// SPDX-License-Identifier: GPL-3.0-or-later
// FileCopy over POSIX: the data goes into a file without a name in the
// target's folder (O_TMPFILE; copy_file_range where the kernel can, else
// read and write), which is finished, synced and only then linked at the
// target, so a copy cut short by any signal leaves nothing behind. Where
// the file system has no unnamed files, a short temporary name stands in.
#pragma once

#include "platform/file_copy.h"

namespace quibo {

class PosixFileCopy final : public FileCopy {
public:
    int Copy(const std::string& source, const std::string& target, CopyObserver& observer,
             const CopyFinisher& finish) override;
};

}  // namespace quibo
