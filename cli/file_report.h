// SPDX-License-Identifier: GPL-3.0-or-later
// One file's report for scripts: the window's texts under their group names,
// the typed facts, the INFO rows and the messages, as JSON; and one CSV row
// of the facts.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "analysis/avi_report.h"
#include "platform/message_boxes.h"
#include "platform/recorded_fields.h"

namespace quibo {

struct FileReport {
    std::string path;
    const RecordedFields* fields;
    // Null for a file that could not be read.
    const AviReport* facts;
    std::vector<Message> messages;
};

nlohmann::ordered_json ReportJson(const FileReport& report);
// The typed report: what the file is, its streams, tags and index.
// `path` names the file in the advice's commands.
nlohmann::ordered_json FactsJson(const AviReport& report, const std::string& path);

// The fixed CSV columns, and one file's row (RFC 4180), from its facts.
std::string CsvHeader();
std::string CsvRow(const FileReport& report);

}  // namespace quibo
