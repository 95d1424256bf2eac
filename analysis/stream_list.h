// SPDX-License-Identifier: GPL-3.0-or-later
// Every stream of the header list, in file order, as its header and format
// declare it, with its name and language.
#pragma once

#include <vector>

#include "analysis/avi_report.h"
#include "analysis/stream_facts.h"

namespace quibo {

void SummariseStreams(const StreamFacts& facts, const std::vector<InfoRow>& rows, std::vector<StreamReport>& streams);

}  // namespace quibo
