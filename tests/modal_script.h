// SPDX-License-Identifier: GPL-3.0-or-later
// Answers the modal dialogs a test's commands open, in order, from inside each dialog's own event loop, and records
// each one met. A dialog not expected, or not of the expected kind, fails the test and is rejected, so that no test
// waits for a click that never comes; a dialog expected and never met fails the test too.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quibo::test {

class ModalScript {
public:
    ModalScript() {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Poll(); });
        timer_.start(5);
    }
    ~ModalScript() { EXPECT_TRUE(actions_.empty()) << actions_.size() << " scripted dialogs never came"; }

    // Runs `action` on the next dialog, which must be a `Dialog`.
    template <class Dialog>
    void Then(std::function<void(Dialog&)> action) {
        actions_.push_back([action = std::move(action)](QDialog& dialog) {
            Dialog* expected = qobject_cast<Dialog*>(&dialog);
            return expected != nullptr && (action(*expected), true);
        });
    }
    // Clicks `button` of the next message box.
    void ThenPress(QMessageBox::StandardButton button) {
        Then<QMessageBox>([button](QMessageBox& box) { box.button(button)->click(); });
    }

    // "caption: text" of each message box, the caption of any other dialog.
    const std::vector<std::string>& Met() const { return met_; }

private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->property("quiboTestMet").toBool()) return;
        dialog->setProperty("quiboTestMet", true);
        met_.push_back(dialog->windowTitle().toStdString());
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) met_.back() += ": " + box->text().toStdString();
        if (!actions_.empty() && actions_.front()(*dialog)) return actions_.pop_front();
        ADD_FAILURE() << "unexpected dialog: " << met_.back();
        dialog->reject();
    }

    QTimer timer_;
    // Each runs on a dialog of its kind and says whether it was one.
    std::deque<std::function<bool(QDialog&)>> actions_;
    std::vector<std::string> met_;
};

}  // namespace quibo::test
