// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <algorithm>
#include <cctype>

namespace quibo {

bool IsSwitch(std::string_view argument) {
    if (argument.starts_with('-')) return true;
    if (!argument.starts_with('/') || argument.size() < 2) return false;
    return std::all_of(argument.begin() + 1, argument.end(),
                       [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; });
}

std::string FileNameFromArguments(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (!IsSwitch(argv[i])) return argv[i];
    return {};
}

}  // namespace quibo
