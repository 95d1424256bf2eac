// SPDX-License-Identifier: GPL-3.0-or-later
// Plain sentences about what in a file troubles players, each with the
// command that mends it where one exists.
#pragma once

#include <string>
#include <vector>

#include "analysis/avi_report.h"

namespace quibo {

// `path` names the file in the commands; the mended copy goes beside it.
std::vector<std::string> Advice(const AviReport& report, const std::string& path);

}  // namespace quibo
