// One file's report: the main window's fields, INFO rows and messages, as
// text or JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/message_boxes.h"
#include "platform/recorded_fields.h"

namespace quibo {

struct FileReport {
    std::string path;
    const RecordedFields* fields;
    std::vector<Message> messages;
};

// Fields under their group names, then one line per INFO row.
std::string ReportText(const FileReport& report);
nlohmann::ordered_json ReportJson(const FileReport& report);

}  // namespace quibo
