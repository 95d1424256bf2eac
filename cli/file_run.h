// SPDX-License-Identifier: GPL-3.0-or-later
// One file of a quibo-info run: opened as a user opens it, edited when the
// run edits, and its report made in the run's format, ready to print.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/headless_window.h"
#include "cli/info_edit_script.h"
#include "platform/message_boxes.h"

namespace quibo {

enum class ReportFormat { Text, Details, Json, JsonArrayElement, Csv };

struct RunOptions {
    ReportFormat format = ReportFormat::Text;
    // Start-up's messages, which every JSON report holds.
    std::vector<Message> startup;
    std::vector<EditOperation> operations;
    std::optional<FourCCChange> fourCCChange;
    bool force = false;
    bool dryRun = false;
    std::optional<std::string> output;

    bool Editing() const { return !operations.empty() || fourCCChange.has_value(); }
};

struct FileOutput {
    std::string report;    // for standard output; empty for a text report of a file not read
    std::string messages;  // for standard error
    bool succeeded = false;
};

FileOutput RunOnFile(HeadlessWindow& window, const std::string& path, const RunOptions& options);

}  // namespace quibo
