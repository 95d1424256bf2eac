// SPDX-License-Identifier: GPL-3.0-or-later
// The FILE arguments of quibo-info as the files to report: a folder stands
// for the AVI files below it when asked to (-r), and is refused otherwise.
#pragma once

#include <string>
#include <vector>

namespace quibo {

struct FileArguments {
    std::vector<std::string> files;
    // One line per folder that was not read, for standard error.
    std::vector<std::string> refused;
};

// Each folder among `arguments`, with `recursive`, gives its files whose
// names end in ".avi" in any letter case, at any depth, sorted, without
// following links to folders; without it, a line in `refused`. Any other
// argument is kept as it is.
FileArguments ExpandFileArguments(const std::vector<std::string>& arguments, bool recursive);

}  // namespace quibo
