// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_report.h"

#include "res/main_window_fields.h"

namespace quibo {

std::string WindowReportText(const RecordedFields& fields) {
    std::string text;
    const char* currentGroup = nullptr;
    for (const FieldSpec& field : MainWindowFields()) {
        const char* group = GroupName(field.group);
        if (group != currentGroup) {
            text += group;
            text += '\n';
            currentGroup = group;
        }
        text += "  ";
        text += field.label;
        text += ": ";
        text += fields.Text(field.controlId);
        text += '\n';
    }
    text += "RIFF Info\n";
    for (const InfoRowText& row : fields.Rows()) text += "  " + row.code + "  " + row.name + ": " + row.contents + '\n';
    return text;
}

}  // namespace quibo
