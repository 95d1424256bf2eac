// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_directory.h"

#include <filesystem>
#include <system_error>

namespace quibo {

std::string ProgramDirectory() {
    // argv[0] of a program started from PATH names no folder, so ask the
    // kernel where the executable itself lives.
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !exe.has_parent_path()) return {};
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace quibo
