// Answers the modal dialogs that a test's commands open, in order, from
// inside each dialog's own event loop, and records every one it met. A
// dialog the script did not expect, or not of the kind it expected, is
// recorded and rejected, so that no test waits for a click that never
// comes.
#pragma once

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

    // Runs `action` on the next dialog, which must be a `Dialog`.
    template <class Dialog>
    void Then(std::function<void(Dialog&)> action) {
        actions_.push_back([action = std::move(action)](QDialog& dialog) {
            auto* expected = qobject_cast<Dialog*>(&dialog);
            if (expected != nullptr) action(*expected);
            return expected != nullptr;
        });
    }
    // Clicks `button` of the next message box.
    void ThenPress(QMessageBox::StandardButton button) {
        Then<QMessageBox>([button](QMessageBox& box) { box.button(button)->click(); });
    }

    // "caption: text" of each message box, the caption of any other dialog.
    const std::vector<std::string>& Met() const { return met_; }
    bool AllUsed() const { return actions_.empty(); }

private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->property("quiboTestMet").toBool()) return;
        dialog->setProperty("quiboTestMet", true);
        std::string seen = dialog->windowTitle().toStdString();
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) seen += ": " + box->text().toStdString();
        met_.push_back(seen);
        if (actions_.empty() || !actions_.front()(*dialog)) {
            met_.back() += " (unexpected)";
            dialog->reject();
            return;
        }
        actions_.pop_front();
    }

    QTimer timer_;
    // Each runs on a dialog of its kind and says whether it was one.
    std::deque<std::function<bool(QDialog&)>> actions_;
    std::vector<std::string> met_;
};

}  // namespace quibo::test
