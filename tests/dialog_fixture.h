// The main window's behaviour driven through scripted fakes, with helpers
// that load crafted bytes and read back what the window shows; and the
// same window over real files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "fake_file_access.h"
#include "platform/posix_file_access.h"
#include "platform/recorded_fields.h"
#include "res/control_ids.h"
#include "riff_builder.h"
#include "scripted_file_dialogs.h"
#include "scripted_message_boxes.h"

namespace quibo::test {

class DialogTest : public testing::Test {
protected:
    // Opens `path` the way the user does, through the Open dialog.
    void Open(const std::string& path) {
        dialogs.Answer(path);
        dialog.OnFileOpen();
    }

    // Loads `bytes` as the file "/data/test.avi".
    void Load(const Bytes& bytes) {
        files.Add("/data/test.avi", bytes);
        Open("/data/test.avi");
    }

    const std::string& Text(int controlId) const { return fields.Text(controlId); }
    const std::string& Status() const { return Text(control::kFileStatus); }

    // Each INFO row as "CODE=contents".
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (const InfoRowText& row : fields.Rows()) rows.push_back(row.code + "=" + row.contents);
        return rows;
    }

    FakeFileAccess files;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    RecordedFields fields;
    MainDialog dialog{{files, messages, dialogs, fields}};
};

// The main window over real files.
struct PosixDialog {
    void OpenByName(const std::string& path) {
        dialog.SetPendingFileName(path);
        dialog.OnFileOpen();
    }
    PosixFileAccess files;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    RecordedFields fields;
    MainDialog dialog{{files, messages, dialogs, fields}};
};

}  // namespace quibo::test
