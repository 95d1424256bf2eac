// SPDX-License-Identifier: GPL-3.0-or-later
// The INFO Chunk Editor: the name field and the code list sharing one place,
// the enable rules of both modes step by step, and what OK hands back.
#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

#include "gui/info_editor_dialog.h"
#include "info/info_field_table.h"

namespace quibo::test {
namespace {

class EditorTest : public testing::Test {
protected:
    void Open(const std::string& text, const char* code, InfoEditKind mode = InfoEditKind::Edit) {
        dialog = std::make_unique<InfoEditorDialog>(InfoFieldTable, text, code, mode, nullptr);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    // What the user sees: the name field or the list (with its selected item,
    // open or closed), then whether the text field and OK are enabled.
    std::string State() const {
        CodeListBox* list = dialog->CodeList();
        std::string shown = list->isVisible() ? "list " + list->currentText().trimmed().toStdString() +
                                                    (list->view()->isVisible() ? " open" : " closed")
                                              : "name " + dialog->NameField()->text().toStdString();
        if (dialog->NameField()->isVisible() == list->isVisible()) shown += " (both or neither shown)";
        return shown + (dialog->TextField()->isEnabled() ? ", text" : ", no text") +
               (dialog->OkButton()->isEnabled() ? ", OK" : ", no OK");
    }

    // The user chooses item `index`: with a click in the list when it is open,
    // else with the keys (Alt+Down opens it, the arrows move, Enter chooses).
    // Either way the list closes on it.
    void Pick(int index) {
        CodeListBox* list = dialog->CodeList();
        QAbstractItemView* view = list->view();
        if (view->isVisible()) {
            const QModelIndex item = view->model()->index(index, 0);
            view->scrollTo(item);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
        } else {
            const int moves = index - list->currentIndex();
            QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
            ASSERT_TRUE(view->isVisible());
            for (int i = 0; i < std::abs(moves); ++i) QTest::keyClick(view, moves > 0 ? Qt::Key_Down : Qt::Key_Up);
            QTest::keyClick(view, Qt::Key_Return);
        }
        QCoreApplication::processEvents();
    }
    int IndexOf(const char* item) const { return dialog->CodeList()->findText(QString::fromLatin1(item)); }
    // The text field takes the focus, the dialog active again as it is once a
    // list has closed (the offscreen platform leaves that out).
    void FocusText() {
        QApplication::setActiveWindow(dialog.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        QTest::mouseClick(dialog->TextField(), Qt::LeftButton);
    }
    // OK, then the code and the text handed back.
    std::string Accept() {
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        return std::string(dialog->Code()) + "=" + dialog->Text();
    }

    std::unique_ptr<InfoEditorDialog> dialog;
};

TEST_F(EditorTest, EditModeStepByStep) {
    Open("Old title", "inam");
    EXPECT_EQ(State(), "name INAM: Name, text, OK");
    EXPECT_TRUE(dialog->TextField()->hasFocus());
    EXPECT_EQ(dialog->TextField()->selectedText(), "Old title");
    EXPECT_EQ(dialog->CodeList()->itemText(0), "       {no change}");
    // Both INAM items are offered; the table's sorts first.
    EXPECT_LT(IndexOf("INAM: Name"), IndexOf("INAM: Title"));

    QTest::mouseClick(dialog->ChangeButton(), Qt::LeftButton);
    EXPECT_EQ(State(), "list {no change} open, text, OK");
    Pick(0);
    EXPECT_EQ(State(), "list {no change} closed, text, OK");
    FocusText();
    EXPECT_EQ(State(), "name INAM: Name, text, OK");

    QTest::mouseClick(dialog->ChangeButton(), Qt::LeftButton);
    Pick(IndexOf("IART: Artist"));
    EXPECT_EQ(State(), "list IART: Artist closed, text, OK");
    FocusText();
    EXPECT_EQ(State(), "name IART: Artist, text, OK");
    EXPECT_EQ(Accept(), "IART=Old title");
}

TEST_F(EditorTest, InsertModeStepByStep) {
    Open("", "----", InfoEditKind::Insert);
    EXPECT_EQ(State(), "list {select} closed, no text, no OK");
    EXPECT_EQ(dialog->CodeList()->itemText(0), "          {select}");

    // Choosing with the keys, the list never open, is not enough.
    QTest::keyClick(dialog->CodeList(), Qt::Key_Down);
    EXPECT_EQ(dialog->CodeList()->currentIndex(), 1);
    EXPECT_FALSE(dialog->OkButton()->isEnabled());

    // The list and the name field share one place, one line high.
    EXPECT_EQ(dialog->CodeList()->geometry(), dialog->NameField()->geometry());
    QTest::mouseClick(dialog->ChangeButton(), Qt::LeftButton);
    EXPECT_EQ(State(), "list {select} open, no text, no OK");
    Pick(IndexOf("ICMT: Comments"));
    EXPECT_EQ(State(), "list ICMT: Comments closed, text, OK");
    Pick(0);
    EXPECT_EQ(State(), "list {select} closed, no text, no OK");
    Pick(IndexOf("ICMT: Comments"));
    EXPECT_EQ(State(), "list ICMT: Comments closed, text, OK");
    Pick(IndexOf("IARL: Archival Location"));
    FocusText();
    EXPECT_EQ(State(), "name IARL: Archival Location, text, OK");
    QTest::keyClicks(dialog->TextField(), "Shelf 4");
    EXPECT_EQ(Accept(), "IARL=Shelf 4");
}

TEST_F(EditorTest, CodesComeBackAsTheListNamesThemTextsWhole) {
    Open("x", "inam");
    EXPECT_EQ(Accept(), "INAM=x");
    Open("x", "inam");
    dialog->ChangeButton()->click();
    Pick(IndexOf("INAM: Title"));
    EXPECT_EQ(Accept(), "INAM=x");

    // "{no change}" keeps the code, known or not.
    Open("x", "IART");
    dialog->ChangeButton()->click();
    Pick(0);
    EXPECT_EQ(Accept(), "IART=x");
    Open("x", "ZZzz");
    EXPECT_EQ(State(), "name ZZzz: {unknown}, text, OK");
    dialog->ChangeButton()->click();
    Pick(0);
    FocusText();
    EXPECT_EQ(Accept(), "ZZzz=x");

    // Cancel hands nothing back.
    Open("x", "IART");
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);

    // Texts up to the capacity are kept whole.
    for (const std::string& stored : {std::string(100, 'a'), std::string(1500, 'a')}) {
        Open(stored, "ICMT");
        EXPECT_EQ(Accept(), "ICMT=" + stored);
    }
    Open(std::string(1020, 'a'), "ICMT");
    dialog->TextField()->end(false);
    QTest::keyClicks(dialog->TextField(), "bcde");
    EXPECT_EQ(dialog->TextField()->text().size(), 1023);
    EXPECT_EQ(Accept(), "ICMT=" + std::string(1020, 'a') + "bcd");
}

}  // namespace
}  // namespace quibo::test
