// FileAccess over POSIX: open(2) plus flock(LOCK_EX | LOCK_NB).
#pragma once

#include "platform/file_access.h"

namespace quibo {

class PosixFileAccess final : public FileAccess {
public:
    OpenResult OpenExclusiveRead(const std::string& path) override;
    OpenResult OpenExclusiveReadWrite(const std::string& path) override;
};

}  // namespace quibo
