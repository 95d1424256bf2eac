// SPDX-License-Identifier: GPL-3.0-or-later
// Every fact of a report that the main window has no field for: each
// stream, what the video bitstream says, the index, the recording date and
// the advice. The Details view and quibo-info --details show it.
#pragma once

#include <string>

#include "analysis/avi_report.h"

namespace quibo {

std::string DetailsText(const AviReport& report, const std::string& path);

}  // namespace quibo
