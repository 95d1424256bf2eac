// SPDX-License-Identifier: GPL-3.0-or-later
// The INFO Chunk Editor: the name field and the code list sharing one place, the enable rules of both modes step by
// step, and what OK hands back.
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

    // What the user sees: the name field or the list (with its selected item, open or closed), then whether the text
    // field and OK are enabled.
    std::string State() const {
        CodeListBox* list = dialog->CodeList();
        std::string shown = list->isVisible() ? "list " + list->currentText().trimmed().toStdString() +
                                                    (list->view()->isVisible() ? " open" : " closed")
                                              : "name " + dialog->NameField()->text().toStdString();
        if (dialog->NameField()->isVisible() == list->isVisible()) shown += " (both or neither shown)";
        return shown + (dialog->TextField()->isEnabled() ? ", text" : ", no text") +
               (dialog->OkButton()->isEnabled() ? ", OK" : ", no OK");
    }

    // The user chooses item `index`: with a click in the list when it is open, else with the keys (Alt+Down opens it,
    // the arrows move, Enter chooses). Either way the list closes on it.
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
    // The item that ends with `item`, as "{no change}" does after its padding.
    int IndexOf(const char* item) const {
        return dialog->CodeList()->findText(item, Qt::MatchEndsWith | Qt::MatchCaseSensitive);
    }
    // "Change" clicks Change; "text" clicks into the text field, the dialog active again as it is once a list has
    // closed (the offscreen platform leaves that out); any other step picks that item.
    void Do(const std::string& step) {
        if (step == "Change") return QTest::mouseClick(dialog->ChangeButton(), Qt::LeftButton);
        if (step != "text") return Pick(IndexOf(step.c_str()));
        QApplication::setActiveWindow(dialog.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        QTest::mouseClick(dialog->TextField(), Qt::LeftButton);
    }
    // Each step, then the state it leaves.
    void Steps(std::initializer_list<std::pair<std::string, const char*>> steps) {
        for (const auto& [step, state] : steps) {
            Do(step);
            EXPECT_EQ(State(), state) << step;
        }
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
    EXPECT_EQ(dialog->CodeList()->itemText(0), "       {no change}");
    // Both INAM items are offered; the table's sorts first.
    EXPECT_LT(IndexOf("INAM: Name"), IndexOf("INAM: Title"));
    Steps({{"Change", "list {no change} open, text, OK"}, {"{no change}", "list {no change} closed, text, OK"},
           {"text", "name INAM: Name, text, OK"}, {"Change", "list {no change} open, text, OK"},
           {"IART: Artist", "list IART: Artist closed, text, OK"}, {"text", "name IART: Artist, text, OK"}});
    EXPECT_EQ(Accept(), "IART=Old title");
}

TEST_F(EditorTest, InsertModeStepByStep) {
    Open("", "----", InfoEditKind::Insert);
    EXPECT_EQ(State(), "list {select} closed, no text, no OK");
    EXPECT_EQ(dialog->CodeList()->itemText(0), "          {select}");
    // Choosing with the keys, the list never open, is not enough.
    QTest::keyClick(dialog->CodeList(), Qt::Key_Down);
    EXPECT_EQ(State(), "list IARL: Archival Location closed, no text, no OK");
    // The list and the name field share one place, one line high.
    EXPECT_EQ(dialog->CodeList()->geometry(), dialog->NameField()->geometry());
    Steps({{"Change", "list {select} open, no text, no OK"}, {"ICMT: Comments", "list ICMT: Comments closed, text, OK"},
           {"{select}", "list {select} closed, no text, no OK"},
           {"ICMT: Comments", "list ICMT: Comments closed, text, OK"},
           {"IARL: Archival Location", "list IARL: Archival Location closed, text, OK"},
           {"text", "name IARL: Archival Location, text, OK"}});
    QTest::keyClicks(dialog->TextField(), "Shelf 4");
    EXPECT_EQ(Accept(), "IARL=Shelf 4");
}

TEST_F(EditorTest, CodesComeBackAsTheListNamesThemTextsWhole) {
    // The text and code handed in, the steps taken, the code handed back. Texts up to the capacity are kept whole;
    // "{no change}" keeps the code, known or not.
    const std::tuple<std::string, const char*, std::vector<std::string>, const char*> cases[] = {
        {"x", "inam", {}, "INAM"}, {"x", "inam", {"Change", "INAM: Title"}, "INAM"},
        {"x", "IART", {"Change", "{no change}"}, "IART"}, {"x", "ZZzz", {"Change", "{no change}", "text"}, "ZZzz"},
        {std::string(100, 'a'), "ICMT", {}, "ICMT"}, {std::string(1500, 'a'), "ICMT", {}, "ICMT"}};
    for (const auto& [text, code, steps, result] : cases) {
        Open(text, code);
        for (const std::string& step : steps) Do(step);
        EXPECT_EQ(Accept(), result + ("=" + text)) << code;
    }
    Open("x", "ZZzz");
    EXPECT_EQ(State(), "name ZZzz: {unknown}, text, OK");

    // Cancel hands nothing back.
    Open("x", "IART");
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);

    Open(std::string(1020, 'a'), "ICMT");
    dialog->TextField()->end(false);
    QTest::keyClicks(dialog->TextField(), "bcde");
    EXPECT_EQ(dialog->TextField()->text().size(), 1023);
    EXPECT_EQ(Accept(), "ICMT=" + std::string(1020, 'a') + "bcd");
}

}  // namespace
}  // namespace quibo::test
