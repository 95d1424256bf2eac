// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/file_run.h"

#include <sstream>

#include "app/details_text.h"
#include "app/window_report.h"
#include "cli/file_report.h"

namespace quibo {
namespace {

// One file's JSON object; as an element of the array, indented by two.
std::string JsonText(const nlohmann::ordered_json& object, bool inArray) {
    const std::string text = object.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    if (!inArray) return text;
    std::string indented = "  ";
    for (char c : text) {
        indented += c;
        if (c == '\n') indented += "  ";
    }
    return indented;
}

bool Edit(HeadlessWindow& window, const RunOptions& options) {
    const bool edited = (!options.fourCCChange ||
                         ApplyFourCCChange(window.dialog, window.messages, *options.fourCCChange, options.force)) &&
                        (options.operations.empty() || ApplyEditOperations(window.dialog, window.fields, window.editor,
                                                                           window.messages, options.operations));
    return edited && (options.dryRun || WriteEdits(window.dialog, window.dialogs, options.output));
}

}  // namespace

FileOutput RunOnFile(HeadlessWindow& window, const std::string& path, const RunOptions& options) {
    // Close, then open the file by name: the road of a user who opens one
    // file after another.
    window.dialog.OnFileClose();
    window.messages.Clear();
    window.dialog.SetPendingFileName(path);
    window.dialog.OnFileOpen();
    FileOutput output;
    output.succeeded = window.dialog.FileAnalysed() && (!options.Editing() || Edit(window, options));

    FileReport report{path, &window.fields, window.dialog.FileRead() ? &window.dialog.Report() : nullptr,
                      window.messages.All()};
    if (options.format == ReportFormat::Json || options.format == ReportFormat::JsonArrayElement) {
        report.messages.insert(report.messages.begin(), options.startup.begin(), options.startup.end());
        output.report = JsonText(ReportJson(report), options.format == ReportFormat::JsonArrayElement);
        return output;
    }
    for (const Message& message : report.messages) output.messages += message.caption + ": " + message.text + '\n';
    if (options.format == ReportFormat::Csv) {
        output.report = CsvRow(report);
    } else if (window.dialog.FileRead()) {
        // A file that could not be read has its message and no report of
        // empty fields.
        output.report = WindowReportText(window.fields);
        if (options.format == ReportFormat::Details) output.report += "Details\n" + DetailsText(window.dialog.Report(), path);
    }
    return output;
}

}  // namespace quibo
