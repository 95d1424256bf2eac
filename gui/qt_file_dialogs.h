// SPDX-License-Identifier: GPL-3.0-or-later
// The Open and Save dialogs of Qt.
#pragma once

#include <QWidget>

#include "platform/file_dialogs.h"

namespace quibo {

class QtFileDialogs final : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* owner) : owner_(owner) {}
    std::optional<std::string> AskOpenPath(const FileDialogRequest& request) override;
    std::optional<std::string> AskSavePath(const FileDialogRequest& request) override;

private:
    QWidget* owner_;
};

// Paths are bytes on Linux; Qt holds them as text in the local encoding.
QString PathToQt(const std::string& path);
std::string PathFromQt(const QString& path);

}  // namespace quibo
