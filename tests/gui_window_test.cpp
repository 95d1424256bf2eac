// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop window itself: start-up from the command line, the menus' enable rules as the user meets them, its
// Open, Save and Save As dialogs, Exit and Escape, and the real program started on a file.
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/command_line.h"
#include "gui/about_dialog.h"
#include "gui/details_dialog.h"
#include "gui/fourcc_change_dialog.h"
#include "gui/main_window.h"
#include "info/info_field_table.h"
#include "modal_script.h"
#include "res/main_window_fields.h"
#include "test_window.h"

namespace quibo::test {
namespace {

// INFO fields between a JUNK chunk of text (a row of its own) and a JUNK chunk with room for longer texts.
const Bytes kClip = BareAvi({N::Leaf("JUNK", "    Made with Tool 2    "),
                             InfoList({{"INAM", "Title"}, {"IART", "Artist"}}), N::Leaf("JUNK", Bytes(200, '\x01'))});

TEST(CommandLine, FirstArgumentThatIsNoSwitchNamesTheFile) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"quibo"}, ""}, {{"quibo", "clip.avi"}, "clip.avi"}, {{"quibo", "clip.avi", "other.avi"}, "clip.avi"},
        {{"quibo", "-p", "clip.avi"}, "clip.avi"}, {{"quibo", "/p", "clip.avi"}, "clip.avi"},
        {{"quibo", "/home/me/My Clips/clip.avi"}, "/home/me/My Clips/clip.avi"}, {{"quibo", "/p", "-x", "/"}, "/"}};
    for (const auto& [arguments, file] : cases)
        EXPECT_EQ(FileNameFromArguments(int(arguments.size()), arguments.data()), file) << arguments.back();
}

class WindowTest : public testing::Test {
protected:
    // The window as the program starts it, with `path` from the command line: start-up runs once the window is up.
    std::unique_ptr<MainWindow> Started(const std::string& path) {
        auto window = std::make_unique<MainWindow>(std::vector<std::string>{QUIBO_CODEC_FILE}, path);
        starting = window.get();
        window->move(250, 150);
        window->ShowAndStart([this] { starting = nullptr; });
        EXPECT_TRUE(QTest::qWaitFor([this] { return starting == nullptr; }));
        return window;
    }
    // The window manager makes the window active again after a dialog; the offscreen platform does not.
    static void Press(MainWindow& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, key, modifiers);
    }
    // Every field's text, run together.
    static std::string Texts(const MainWindow& window) {
        std::string texts;
        for (const FieldSpec& field : MainWindowFields()) texts += window.ShownText(field.controlId).toStdString();
        return texts;
    }
    // Each INFO row as "CODE=contents".
    static std::vector<std::string> Rows(const MainWindow& window) {
        std::vector<std::string> rows;
        for (const QTreeWidgetItem* row : window.InfoListView()->findItems("", Qt::MatchContains))
            rows.push_back((row->text(0) + "=" + row->text(2)).toStdString());
        return rows;
    }
    // The centre of the row of `code`, in the window: the platform makes double clicks on windows only.
    static QPoint RowAt(MainWindow& window, const std::string& code) {
        const TitleTipListCtrl& list = *window.InfoListView();
        const QList<QTreeWidgetItem*> found = list.findItems(QString::fromStdString(code), Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << code;
        return list.viewport()->mapTo(&window, list.visualItemRect(found.value(0)).center());
    }
    static void Click(MainWindow& window, const std::string& code, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(window.windowHandle(), button, {}, RowAt(window, code));
    }
    static QMenu& OpenMenu(MainWindow& window, QMenu* menu) {
        QMenuBar* bar = window.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        EXPECT_TRUE(menu->isVisible());
        return *menu;
    }
    // Clicks the menu that holds `command` open, then the command.
    static void Choose(MainWindow& window, int command) {
        for (QMenu* menu : window.Menus())
            for (QAction* action : menu->actions())
                if (action->data().toInt() == command) {
                    const QPoint at = menu->actionGeometry(action).center();
                    QTest::mouseClick(&OpenMenu(window, menu), Qt::LeftButton, {}, at);
                    return menu->hide();
                }
        ADD_FAILURE() << "no command " << command;
    }
    // Clicks each menu open and lists the items left disabled.
    static std::vector<std::string> Disabled(MainWindow& window) {
        std::vector<std::string> disabled;
        for (QMenu* menu : window.Menus()) {
            for (QAction* action : OpenMenu(window, menu).actions())
                if (!action->isEnabled()) disabled.push_back(action->text().toStdString());
            QTest::keyClick(menu, Qt::Key_Escape);
        }
        return disabled;
    }
    // A double click on the row of `code`; in the editor the user types `text` over the selected old one, then OK.
    void EditRow(MainWindow& window, const std::string& code, const std::string& text) {
        modals.Then<InfoEditorDialog>([text](InfoEditorDialog& editor) {
            QTest::keyClicks(editor.TextField(), QString::fromStdString(text));
            QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
        });
        QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, RowAt(window, code));
    }
    // Answers the next file dialog with `path`, after noting its title, filters and the name it offered.
    void ThenChooseFile(const std::string& path) {
        modals.Then<QFileDialog>([this, path](QFileDialog& files) {
            fileDialog = (files.windowTitle() + " [" + files.nameFilters().join("; ") + "] " +
                          files.selectedFiles().value(0)).toStdString();
            files.selectFile(QString::fromStdString(path));
            static_cast<QDialog&>(files).accept();  // QFileDialog's own, public through QDialog
        });
    }

    TempDir dir;
    const std::string clip = dir.Write("clip.avi", kClip);
    ModalScript modals;
    std::string fileDialog;
    MainWindow* starting = nullptr;  // the window Started() is starting; null once start-up has run

    const std::vector<std::string> noFile = {"&Save", "Save &As...", "&Close", "&Edit Selected RIFF Info Field",
                                             "&Delete Selected RIFF Info Feild", "&New RIFF Info Feild",
                                             "Change &FourCC...", "&Details...", "Refresh"};
    // The clip has no video stream, whose FourCC could change.
    const std::vector<std::string> noSelection = {"&Save", "Save &As...", "&Edit Selected RIFF Info Field",
                                                  "&Delete Selected RIFF Info Feild", "Change &FourCC..."};
};

TEST_F(WindowTest, MenusFollowTheFileAndTheSelection) {
    // A child declaring 1,025 bytes more than its parent's 38: the walk fails.
    const RiffNode big = N::Leaf("big ").DeclaredSize(38 + 1025);
    const std::string broken = dir.Write("broken.avi", N::Riff("AVI ", {InfoList({{"INAM", "Title"}}), big}).ToBytes());
    auto window = Started("");
    EXPECT_EQ(Texts(*window), "");
    for (int status : {control::kFileStatus, control::kVideoStatus}) EXPECT_FALSE(window->Control(status)->isEnabled());
    EXPECT_EQ(Disabled(*window), noFile);

    ThenChooseFile(clip);
    Choose(*window, command::kOpen);
    EXPECT_EQ(fileDialog, "Select file to be checked.. [AVI Files (*.avi); ALL Files (*)] ");
    EXPECT_EQ(Disabled(*window), noSelection);
    Click(*window, "JUNK");
    EXPECT_EQ(Disabled(*window), noSelection);
    Click(*window, "IART");
    EXPECT_EQ(Disabled(*window), (std::vector<std::string>{"&Save", "Save &As...", "Change &FourCC..."}));

    EditRow(*window, "INAM", "A longer title");
    EXPECT_EQ(Rows(*window)[1], "INAM=A longer title");
    // The edited row stays selected.
    EXPECT_EQ(window->SelectedInfoRow(), 1);
    EXPECT_EQ(Disabled(*window), std::vector<std::string>{"Change &FourCC..."});

    modals.ThenPress(QMessageBox::No);
    Choose(*window, command::kClose);
    EXPECT_EQ(modals.Met().back(), "File Close: Save changes to " + clip + "?");
    EXPECT_EQ(Texts(*window), "");
    EXPECT_EQ(Disabled(*window), noFile);
    EXPECT_EQ(ReadAll(clip), kClip);

    ThenChooseFile(broken);
    Press(*window, Qt::Key_O);
    Click(*window, "INAM");
    std::vector<std::string> closeOnly = noFile;
    closeOnly.erase(closeOnly.begin() + 2);
    EXPECT_EQ(Disabled(*window), closeOnly);
}

// A file named at start-up that cannot be opened: the system's reason, over the window, and a window without a file,
// which Exit closes unasked. Escape never closes; Exit asks only about unsaved edits.
TEST_F(WindowTest, StartWithAMissingFileThenEscapeAndExit) {
    const std::string missing = dir / "missing.avi";
    modals.Then<QMessageBox>([this](QMessageBox& box) {
        // On a desktop a box shown before the window is up lands at the screen's corner.
        EXPECT_TRUE(starting->windowHandle()->isExposed());
        const QPoint offCentre = box.geometry().center() - starting->geometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 40) << offCentre.x() << "," << offCentre.y();
        box.button(QMessageBox::Ok)->click();
    });
    auto empty = Started(missing);
    EXPECT_EQ(Texts(*empty), "");
    EXPECT_EQ(Disabled(*empty), noFile);
    Choose(*empty, command::kExit);
    EXPECT_FALSE(empty->isVisible());

    auto window = Started(clip);
    EditRow(*window, "INAM", "Edited");
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    modals.ThenPress(QMessageBox::Cancel);
    Press(*window, Qt::Key_Q);
    EXPECT_TRUE(window->isVisible());
    modals.ThenPress(QMessageBox::No);
    EXPECT_TRUE(window->close());
    const std::string asked = "Exiting...: Save changes to " + clip + "?";
    EXPECT_EQ(modals.Met(), (std::vector<std::string>{"File Open Failure: Unable to open file " + missing + ":\n\n" +
                                                          std::strerror(ENOENT), "INFO Chunk Editor", asked, asked}));
}

// Edit > Change FourCC on an XVID stream: the dialog offers the tags FFmpeg's decoder of XVID reads too, and a pick
// among them is saved as eight bytes; another decoder's tag is asked about; a file changed since Open is not written.
TEST_F(WindowTest, ChangeFourCCOffersTheSameDecodersTagsAndSavesThroughTheWindow) {
    const Bytes original = SmallAvi().ToBytes();
    const std::string path = dir.Write("xvid.avi", original);
    auto window = Started(path);
    modals.Then<FourCCChangeDialog>([](FourCCChangeDialog& change) {
        QListWidget& list = *change.Alternatives();
        auto find = [&list](const char* tag) {
            return list.findItems(QString(tag) + "  ", Qt::MatchStartsWith | Qt::MatchCaseSensitive);
        };
        for (const char* tag : {"DIVX", "DX50", "FMP4"}) EXPECT_EQ(find(tag).size(), 1) << tag;
        for (const char* tag : {"XVID", "H264", "MJPG"}) EXPECT_EQ(find(tag).size(), 0) << tag;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(find("DX50").value(0)).center());
        QTest::mouseClick(change.OkButton(), Qt::LeftButton);
    });
    Choose(*window, command::kChangeFourCC);
    modals.ThenPress(QMessageBox::Ok);
    Choose(*window, command::kSave);
    Bytes expected = original;
    expected.replace(original.find("strh") + 12, 4, "DX50").replace(original.find("strf") + 24, 4, "DX50");
    EXPECT_EQ(ReadAll(path), expected);
    EXPECT_EQ(window->ShownText(control::kVideoFourCC).toStdString(), "DX50");

    auto typeAndOk = [this](const char* tag, FourCCFields fields) {
        modals.Then<FourCCChangeDialog>([tag, fields](FourCCChangeDialog& change) {
            QTest::keyClicks(change.FourCCField(), QString::fromLatin1(tag));
            QTest::mouseClick(change.FieldChoice(fields), Qt::LeftButton);
            QTest::mouseClick(change.OkButton(), Qt::LeftButton);
        });
    };
    typeAndOk("H264", FourCCFields::Both);
    modals.ThenPress(QMessageBox::Cancel);
    Choose(*window, command::kChangeFourCC);
    EXPECT_NE(modals.Met().back().find("but H264 with H.264"), std::string::npos) << modals.Met().back();
    EXPECT_FALSE(window->Dialog().ImageModified());

    typeAndOk("divx", FourCCFields::Handler);
    Choose(*window, command::kChangeFourCC);
    EXPECT_EQ(window->Dialog().Report().video->handler, "divx");
    dir.Write("xvid.avi", original);
    modals.ThenPress(QMessageBox::Ok);
    modals.ThenPress(QMessageBox::Ok);
    Choose(*window, command::kSave);
    EXPECT_TRUE(modals.Met().back().starts_with("File Changed on Disk: ")) << modals.Met().back();
    EXPECT_EQ(ReadAll(path), original);
}

// A file named at start-up opens without a dialog; then the keys, the title, the Details view, Save and Save As, the
// right-click menu and the marks a user meets.
TEST_F(WindowTest, StartWithAFileThenKeysTitleDetailsSavesContextMenuAndMarks) {
    auto window = Started(clip);
    EXPECT_EQ(Rows(*window), (std::vector<std::string>{"JUNK=Made with Tool 2    ", "INAM=Title", "IART=Artist"}));
    const std::string title = "Quibo " QUIBO_VERSION "   Video Codec ID Utility";
    EXPECT_EQ(window->windowTitle().toStdString(), title + " - clip.avi[*]");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_FALSE(window->windowIcon().pixmap(32).isNull());
    // Ctrl+S saves nothing while there is nothing to save: no question.
    Press(*window, Qt::Key_S);

    // A double click on the Audio group, and Ctrl+D, open the Details view.
    for (int i = 0; i < 2; ++i)
        modals.Then<DetailsDialog>([](DetailsDialog& view) {
            const std::string details = view.findChild<QPlainTextEdit*>()->toPlainText().toStdString();
            EXPECT_TRUE(details.starts_with("Streams\nIndex: no idx1\nAdvice\n  - The file has no index")) << details;
            view.reject();
        });
    QWidget* audio = window->Control(control::kAudioEncoding)->parentWidget();
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                       audio->mapTo(window.get(), QPoint(audio->width() / 2, 4)));
    Press(*window, Qt::Key_D);

    EditRow(*window, "IART", "Edited");
    EXPECT_TRUE(window->isWindowModified());
    modals.ThenPress(QMessageBox::Ok);
    Press(*window, Qt::Key_S);
    EXPECT_EQ(modals.Met().back(), "File Modification Confirmation: Overwrite the input file with updated version?");
    EXPECT_FALSE(window->isWindowModified());

    // The right button on a row opens the list's menu as a popup of the window; its Delete asks, then deletes that
    // row. Below the rows there is no menu.
    QTimer::singleShot(50, [&window] {
        // Only a popup that is up is the active popup widget.
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->parentWidget(), window.get());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().at(1)).center());
    });
    modals.ThenPress(QMessageBox::Ok);
    Click(*window, "INAM", Qt::RightButton);
    QTest::qWait(100);
    EXPECT_EQ(Rows(*window), (std::vector<std::string>{"JUNK=Made with Tool 2    ", "IART=Edited"}));
    const QRect lastRow = window->InfoListView()->visualItemRect(window->InfoListView()->topLevelItem(1));
    EXPECT_EQ(window->InfoContextMenuAt(lastRow.bottomLeft() + QPoint(10, 10)), nullptr);

    // Save As offers the file's name; the window then holds the copy.
    const std::string copy = dir / "copy.avi";
    ThenChooseFile(copy);
    Press(*window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(fileDialog, "Save modified copy of AVI file to... [AVI Files (*.avi); ALL Files (*)] " + clip);
    EXPECT_EQ(window->ShownText(control::kFileName).toStdString(), copy);

    // A missing codec is marked.
    auto* status = static_cast<QPushButton*>(window->Control(control::kVideoStatus));
    window->SetText(control::kVideoStatus, "Codec NOT Installed");
    EXPECT_FALSE(status->icon().isNull());
    window->SetText(control::kVideoStatus, "Codec IS Installed");
    EXPECT_TRUE(status->icon().isNull());
    // Each field is read by its label.
    EXPECT_EQ(std::ranges::count_if(window->findChildren<QLabel*>(), [](QLabel* label) { return label->buddy(); }),
              std::ssize(MainWindowFields()));

    Press(*window, Qt::Key_W);
    EXPECT_EQ(window->windowTitle().toStdString(), title);
}

TEST_F(WindowTest, ValuesOfALargeFileFitAndTheWindowGrows) {
    auto window = Started("");
    // A 4K DivX file of several GB.
    const std::pair<int, std::string> values[] = {
        {control::kFileSize, "3,500 MB   (3,584,000 KB    3,670,016,000 bytes)"},
        {control::kVideoCodec, "DivX MPEG-4 Video (DivX 4 and later)"},
        {control::kVideoVendor, "DivX, Inc. (formerly DivXNetworks)"},
        {control::kVideoAspect, "3840 x 2160  (1.778 : 1)"}, {control::kVideoBitrate, "622083 kb/s"}};
    for (const auto& [id, text] : values) {
        window->SetText(id, text);
        QWidget* field = window->Control(id);
        EXPECT_LE(field->fontMetrics().horizontalAdvance(QString::fromStdString(text)), field->width() - 8) << text;
        EXPECT_FALSE(field->toolTip().contains(QString::fromStdString(text))) << text;
    }
    // A text the field cuts is whole in its tooltip, after what it is.
    const std::string path = "/home/user/Videos/" + std::string(200, 'x') + ".avi";
    window->SetText(control::kFileName, path);
    EXPECT_EQ(window->Control(control::kFileName)->toolTip(),
              QStringLiteral("Name of the file being examined\n") + QString::fromStdString(path));

    const int listWidth = window->InfoListView()->width(), codecWidth = window->Control(control::kVideoCodec)->width();
    window->resize(window->size() + QSize(300, 200));
    QApplication::processEvents();
    EXPECT_GT(window->InfoListView()->width(), listWidth);
    EXPECT_GT(window->InfoListView()->height(), 0);
    EXPECT_GT(window->Control(control::kVideoCodec)->width(), codecWidth);
}

// No label of a dialog is cut, in the fonts of the desktop.
TEST(Dialogs, LabelsAreNeverCut) {
    AboutDialog about(nullptr);
    InfoEditorDialog editor(InfoFieldTable, "", "----", InfoEditKind::Insert, nullptr);
    for (QDialog* dialog : {static_cast<QDialog*>(&about), static_cast<QDialog*>(&editor)})
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
            EXPECT_TRUE(dialog->rect().contains(label->geometry())) << label->text().toStdString();
        }
}

// The real program under the offscreen platform, started on the sample, on the sample cut short, and on the sample
// with its movie list claiming 4 GiB: each window shows its file's verdict and what its headers say.
TEST(RealProgram, ShowsEachFilesVerdict) {
    const Bytes sample = ReadAll(QUIBO_SAMPLE_FILE);
    const std::size_t movie = sample.find("movi");
    ASSERT_NE(movie, Bytes::npos);
    TempDir dir;
    const std::pair<std::string, std::vector<std::string>> files[] = {
        {QUIBO_SAMPLE_FILE, {"(235,464 bytes)\n  Date: ", "Status: File Length Correct\nVideo\n  FourCC: XVID\n"}},
        {dir.Write("cut.avi", sample.substr(0, 997 * 50)), {"Status: ===> Truncated: 181 KB are missing.\n"}},
        {dir.Write("huge.avi", sample.substr(0, movie - 4) + Le32(0xFFFFFFFF) + sample.substr(movie)),
         {"Status: Not a valid AVI File\nVideo\n  FourCC: n.a.\n"}}};
    const std::string program = "QT_QPA_PLATFORM=offscreen QUIBO_DUMP_FIELDS=1 " + Quoted(QUIBO_PROGRAM_PATH) + " ";
    for (const auto& [file, shown] : files) {
        const ProgramRun run = RunProgram(program + Quoted(file));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(run.out.starts_with("General\n  Filename: " + file + "\n")) << run.out;
        for (const std::string& text : shown) EXPECT_NE(run.out.find(text), std::string::npos) << run.out;
    }
}

}  // namespace
}  // namespace quibo::test
