// SPDX-License-Identifier: GPL-3.0-or-later
// The Open and Save file dialogs.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quibo {

struct FileDialogRequest {
    std::string title;
    std::vector<std::pair<std::string, std::string>> filters;  // label, pattern
    std::string initialPath;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen existing file, or nothing when the user cancelled.
    virtual std::optional<std::string> AskOpenPath(const FileDialogRequest& request) = 0;
    // The chosen path to save to, or nothing when the user cancelled. The
    // dialog asks no overwrite question: the copy does.
    virtual std::optional<std::string> AskSavePath(const FileDialogRequest& request) {
        (void)request;
        return std::nullopt;
    }
};

}  // namespace quibo
