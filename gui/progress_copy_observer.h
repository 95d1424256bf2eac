// SPDX-License-Identifier: GPL-3.0-or-later
// The Save As copy's face: a progress dialog with Cancel, the question
// before an existing file is replaced, and the copy's failures.
#pragma once

#include <QProgressDialog>
#include <QWidget>
#include <memory>

#include "platform/file_copy.h"

namespace quibo {

class ProgressCopyObserver final : public CopyObserver {
public:
    explicit ProgressCopyObserver(QWidget* owner) : owner_(owner) {}
    void Starting(const std::string& source, const std::string& target) override;
    bool ConfirmReplace(const std::string& target) override;
    bool Progress(std::uint64_t done, std::uint64_t total) override;
    void Failed(const std::string& text) override;

private:
    QWidget* owner_;
    QString label_;
    std::unique_ptr<QProgressDialog> progress_;
};

}  // namespace quibo
