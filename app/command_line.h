// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line: the first argument that is not a switch
// names the file to open; every other argument is ignored.
#pragma once

#include <string>
#include <string_view>

namespace quibo {

// "-x" is a switch, and so is a Windows-style "/x" of letters only; a path
// such as "/home/me/a.avi" is not, since on Linux "/" starts every
// absolute path.
bool IsSwitch(std::string_view argument);

std::string FileNameFromArguments(int argc, const char* const* argv);

}  // namespace quibo
