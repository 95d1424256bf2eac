// FileCopy over POSIX: the data goes into a temporary file beside the
// target (copy_file_range where the kernel can, else read and write), which
// is synced and then renamed over the target.
#pragma once

#include "platform/file_copy.h"

namespace quibo {

class PosixFileCopy final : public FileCopy {
public:
    int Copy(const std::string& source, const std::string& target, CopyObserver& observer) override;
};

}  // namespace quibo
