// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/progress_copy_observer.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "gui/qt_file_dialogs.h"

namespace quibo {
namespace {
const QString kTitle = QStringLiteral("Copying original AVI...");
constexpr int kSteps = 1000;
}  // namespace

void ProgressCopyObserver::Starting(const std::string& source, const std::string& target) {
    label_ = QStringLiteral("Copying %1\nto %2").arg(PathToQt(source), PathToQt(target));
}

bool ProgressCopyObserver::ConfirmReplace(const std::string& target) {
    QString text = QStringLiteral("The file %1 already exists.\n\nReplace it?").arg(PathToQt(target));
    return QMessageBox::question(owner_, kTitle, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

bool ProgressCopyObserver::Progress(std::uint64_t done, std::uint64_t total) {
    if (!progress_) {
        progress_ = std::make_unique<QProgressDialog>(label_, QStringLiteral("Cancel"), 0, kSteps, owner_);
        progress_->setWindowTitle(kTitle);
        // Wide enough for its title, which the window manager would cut.
        progress_->setMinimumWidth(progress_->fontMetrics().horizontalAdvance(kTitle) * 2);
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(300);
    }
    progress_->setValue(total == 0 ? kSteps : static_cast<int>(done * kSteps / total));
    QCoreApplication::processEvents();
    bool goOn = !progress_->wasCanceled();
    if (done >= total || !goOn) progress_.reset();
    return goOn;
}

void ProgressCopyObserver::Failed(const std::string& text) {
    progress_.reset();
    QMessageBox::warning(owner_, kTitle, QString::fromStdString(text));
}

}  // namespace quibo
