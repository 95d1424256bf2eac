// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/qt_file_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

namespace quibo {
namespace {

QString FilterText(const FileDialogRequest& request) {
    QStringList filters;
    for (const auto& [label, pattern] : request.filters) {
        QString text = QString::fromStdString(label);
        // Qt reads the patterns from the label; "*.*" means every file.
        if (!text.contains('(')) text += " (" + QString::fromStdString(pattern) + ")";
        filters << text.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return PathFromQt(path);
}

}  // namespace

QString PathToQt(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string PathFromQt(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::optional<std::string> QtFileDialogs::AskOpenPath(const FileDialogRequest& request) {
    return Chosen(QFileDialog::getOpenFileName(owner_, QString::fromStdString(request.title),
                                               PathToQt(request.initialPath), FilterText(request)));
}

std::optional<std::string> QtFileDialogs::AskSavePath(const FileDialogRequest& request) {
    // The copy asks before it replaces a file, so the dialog does not.
    return Chosen(QFileDialog::getSaveFileName(owner_, QString::fromStdString(request.title),
                                               PathToQt(request.initialPath), FilterText(request), nullptr,
                                               QFileDialog::DontConfirmOverwrite));
}

}  // namespace quibo
