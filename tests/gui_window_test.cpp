// The desktop window itself: start-up from the command line, the menus'
// enable rules as the user meets them, its Open, Save and Save As dialogs,
// Exit and Escape, and the real program against quibo-info.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "app/command_line.h"
#include "gui/main_window.h"
#include "modal_script.h"
#include "res/command_ids.h"
#include "res/control_ids.h"
#include "res/main_window_fields.h"
#include "riff_builder.h"
#include "temp_dir.h"

namespace quibo::test {
namespace {

using N = RiffNode;

// INFO fields between a JUNK chunk of text (a row of its own) and a JUNK
// chunk with room for longer texts.
const Bytes kClip = N::Riff("AVI ", {N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0'))}),
                                     N::Leaf("JUNK", "    Made with Tool 2    "),
                                     InfoList({{"INAM", "Title"}, {"IART", "Artist"}}),
                                     N::Leaf("JUNK", Bytes(200, '\x01')), N::List("movi", {N::Leaf("00dc", "frame")})})
                        .ToBytes();

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

bool Contains(const Bytes& bytes, const std::string& text) { return bytes.find(text) != Bytes::npos; }

TEST(CommandLine, FirstArgumentThatIsNoSwitchNamesTheFile) {
    struct Case {
        std::vector<const char*> arguments;
        std::string file;
    };
    const Case cases[] = {
        {{"quibo"}, ""},
        {{"quibo", "clip.avi"}, "clip.avi"},
        {{"quibo", "clip.avi", "other.avi"}, "clip.avi"},
        {{"quibo", "-p", "clip.avi"}, "clip.avi"},
        {{"quibo", "/p", "clip.avi"}, "clip.avi"},
        {{"quibo", "/home/me/My Clips/clip.avi"}, "/home/me/My Clips/clip.avi"},
        {{"quibo", "/p", "-x", "/"}, "/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameFromArguments(static_cast<int>(c.arguments.size()), c.arguments.data()), c.file)
            << c.arguments.back();
    }
}

class WindowTest : public testing::Test {
protected:
    void TearDown() override {
        for (const std::string& met : modals.Met()) EXPECT_EQ(met.find("(unexpected)"), std::string::npos) << met;
        EXPECT_TRUE(modals.AllUsed());
    }

    // The window as the program starts it, with `path` from the command line.
    std::unique_ptr<MainWindow> Started(const std::string& path) {
        auto window = std::make_unique<MainWindow>(std::vector<std::string>{QUIBO_CODEC_FILE}, path);
        window->show();
        window->Start();
        return window;
    }

    static std::string Text(const MainWindow& window, int controlId) {
        QWidget* widget = window.Control(controlId);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdString();
        return static_cast<QPushButton*>(widget)->text().toStdString();
    }
    // Every field's text, in window order.
    static std::vector<std::string> Texts(const MainWindow& window) {
        std::vector<std::string> texts;
        for (const FieldSpec& field : MainWindowFields()) texts.push_back(Text(window, field.controlId));
        return texts;
    }
    static const QAbstractItemView& List(const MainWindow& window) { return *window.InfoListView(); }
    static std::vector<std::string> Rows(const MainWindow& window) {
        std::vector<std::string> rows;
        const QAbstractItemModel& model = *List(window).model();
        for (int row = 0; row < model.rowCount(); ++row)
            rows.push_back(model.index(row, 0).data().toString().toStdString() + "=" +
                           model.index(row, 2).data().toString().toStdString());
        return rows;
    }
    static void SelectRow(MainWindow& window, const std::string& code) {
        QAbstractItemView* list = window.InfoListView();
        QModelIndexList found =
            list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, QString::fromStdString(code));
        ASSERT_FALSE(found.isEmpty()) << code;
        list->setCurrentIndex(found.first());
    }

    // Opens each menu as the user does and lists the items left disabled.
    static std::vector<std::string> Disabled(MainWindow& window) {
        std::vector<std::string> disabled;
        for (QMenu* menu : window.Menus()) {
            menu->popup(QPoint(0, 0));
            for (QAction* action : menu->actions())
                if (!action->isSeparator() && !action->isEnabled()) disabled.push_back(action->text().toStdString());
            menu->hide();
        }
        return disabled;
    }

    // Edit > Edit Selected on the row of `code`, typing `text` in the editor.
    void EditRow(MainWindow& window, const std::string& code, const std::string& text) {
        SelectRow(window, code);
        modals.Then<InfoEditorDialog>([text](InfoEditorDialog& editor) {
            editor.TextField()->setText(QString::fromStdString(text));
            editor.OkButton()->click();
        });
        window.RunCommand(command::kEditField);
    }

    // Answers the next file dialog with `path`, after noting its title,
    // filters and the name it offered.
    void ThenChooseFile(const std::string& path) {
        modals.Then<QFileDialog>([this, path](QFileDialog& files) {
            const QStringList offered = files.selectedFiles();
            fileDialogs.push_back(files.windowTitle().toStdString() + " [" +
                                  files.nameFilters().join(QStringLiteral("; ")).toStdString() + "] " +
                                  (offered.isEmpty() ? "" : offered.first().toStdString()));
            files.selectFile(QString::fromStdString(path));
            static_cast<QDialog&>(files).accept();  // QFileDialog's own, public through QDialog
        });
    }

    TempDir dir;
    const std::string clip = dir.Write("clip.avi", kClip);
    ModalScript modals;
    std::vector<std::string> fileDialogs;

    const std::vector<std::string> noTexts = std::vector<std::string>(MainWindowFields().size(), "");
    const std::vector<std::string> noFile = {"&Save", "Save &As...", "&Close", "&Edit Selected RIFF Info Field",
                                             "&Delete Selected RIFF Info Feild", "&New RIFF Info Feild", "Refresh"};
    const std::vector<std::string> noSelection = {"&Save", "Save &As...", "&Edit Selected RIFF Info Field",
                                                  "&Delete Selected RIFF Info Feild"};
};

TEST_F(WindowTest, StartWithAFileOpensItWithoutADialog) {
    auto window = Started(clip);
    EXPECT_EQ(Text(*window, control::kFileName), clip);
    EXPECT_EQ(Text(*window, control::kFileStatus), "File Length Correct");
    EXPECT_EQ(Rows(*window), (std::vector<std::string>{"JUNK=Made with Tool 2    ", "INAM=Title", "IART=Artist"}));
}

TEST_F(WindowTest, StartWithAMissingFileReportsTheSystemsText) {
    const std::string missing = dir / "missing.avi";
    modals.ThenPress(QMessageBox::Ok);
    auto window = Started(missing);
    EXPECT_EQ(modals.Met(), std::vector<std::string>{"File Open Failure: Unable to open file " + missing + ":\n\n" +
                                                     std::strerror(ENOENT)});
    EXPECT_EQ(Texts(*window), noTexts);
    EXPECT_EQ(Disabled(*window), noFile);
}

TEST_F(WindowTest, MenusFollowTheFileAndTheSelection) {
    const std::string broken = dir.Write("broken.avi", [] {
        // A child that runs 1,025 bytes past its parent: the walk fails.
        Bytes bytes = N::Riff("AVI ", {InfoList({{"INAM", "Title"}}), N::Leaf("big ")}).ToBytes();
        return bytes.replace(bytes.size() - 4, 4, Le32(static_cast<std::uint32_t>(bytes.size() - 8) + 1025));
    }());
    auto window = Started("");
    EXPECT_EQ(Texts(*window), noTexts);
    EXPECT_FALSE(window->Control(control::kFileStatus)->isEnabled());
    EXPECT_FALSE(window->Control(control::kVideoStatus)->isEnabled());
    EXPECT_EQ(Disabled(*window), noFile);

    ThenChooseFile(clip);
    window->RunCommand(command::kOpen);
    EXPECT_EQ(fileDialogs.back(), "Select file to be checked.. [AVI Files (*.avi); ALL Files (*)] ");
    EXPECT_EQ(Disabled(*window), noSelection);

    SelectRow(*window, "JUNK");
    EXPECT_EQ(Disabled(*window), noSelection);
    SelectRow(*window, "IART");
    EXPECT_EQ(Disabled(*window), (std::vector<std::string>{"&Save", "Save &As..."}));

    EditRow(*window, "INAM", "A longer title");
    EXPECT_EQ(Rows(*window)[1], "INAM=A longer title");
    EXPECT_EQ(Disabled(*window),
              (std::vector<std::string>{"&Edit Selected RIFF Info Field", "&Delete Selected RIFF Info Feild"}));
    SelectRow(*window, "IART");
    EXPECT_TRUE(Disabled(*window).empty());

    modals.ThenPress(QMessageBox::No);
    window->RunCommand(command::kClose);
    EXPECT_EQ(modals.Met().back(), "File Close: Save changes to " + clip + "?");
    EXPECT_EQ(Texts(*window), noTexts);
    EXPECT_EQ(Disabled(*window), noFile);
    EXPECT_EQ(ReadAll(clip), kClip);

    ThenChooseFile(broken);
    window->RunCommand(command::kOpen);
    EXPECT_EQ(Text(*window, control::kFileStatus), "Not a valid AVI File");
    SelectRow(*window, "INAM");
    EXPECT_EQ(Disabled(*window),
              (std::vector<std::string>{"&Save", "Save &As...", "&Edit Selected RIFF Info Field",
                                        "&Delete Selected RIFF Info Feild", "&New RIFF Info Feild", "Refresh"}));
}

TEST_F(WindowTest, EscapeNeverClosesAndExitAsksOnlyAboutUnsavedEdits) {
    auto unedited = Started(clip);
    unedited->RunCommand(command::kExit);
    EXPECT_FALSE(unedited->isVisible());

    auto window = Started(clip);
    EditRow(*window, "INAM", "Edited");
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(modals.Met().size(), 1u);  // the editor only

    modals.ThenPress(QMessageBox::Cancel);
    window->RunCommand(command::kExit);
    EXPECT_TRUE(window->isVisible());
    modals.ThenPress(QMessageBox::No);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(modals.Met().back(), "Exiting...: Save changes to " + clip + "?");
    EXPECT_EQ(modals.Met().size(), 3u);
    EXPECT_EQ(ReadAll(clip), kClip);
}

TEST_F(WindowTest, SaveAndSaveAsGoThroughTheWindowsDialogs) {
    auto window = Started(clip);
    EditRow(*window, "INAM", "Saved title");
    modals.ThenPress(QMessageBox::Ok);
    window->RunCommand(command::kSave);
    EXPECT_EQ(modals.Met().back(),
              "File Modification Confirmation: Overwrite the input file with updated version?");
    EXPECT_EQ(Text(*window, control::kFileStatus), "Update successful");
    EXPECT_TRUE(Contains(ReadAll(clip), "Saved title"));
    EXPECT_EQ(ReadAll(clip).size(), kClip.size());

    EditRow(*window, "IART", "Copied artist");
    const std::string copy = dir / "copy.avi";
    ThenChooseFile(copy);
    window->RunCommand(command::kSaveAs);
    EXPECT_EQ(fileDialogs.back(),
              "Save modified copy of AVI file to... [AVI Files (*.avi); ALL Files (*)] " + clip);
    EXPECT_EQ(Text(*window, control::kFileStatus), "Copying and modification successful");
    EXPECT_EQ(Text(*window, control::kFileName), copy);
    EXPECT_TRUE(Contains(ReadAll(copy), "Copied artist"));
    EXPECT_FALSE(Contains(ReadAll(clip), "Copied artist"));
}

// The real program under the offscreen platform shows what quibo-info
// reports for the same file: the sample, the sample cut short, and the
// sample with its movie list claiming 4 GiB.
TEST(RealProgram, ShowsWhatQuiboInfoReports) {
    auto run = [](const QString& program, const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QUIBO_DUMP_FIELDS"), QStringLiteral("1"));
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        bool finished = process.waitForFinished(60000);
        // quibo-info ends with 1 for a file it could not analyse.
        EXPECT_TRUE(finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() <= 1)
            << program.toStdString();
        return nlohmann::json::parse(process.readAllStandardOutput().toStdString(), nullptr, false);
    };
    std::ifstream in(QUIBO_SAMPLE_FILE, std::ios::binary);
    const Bytes sample(std::istreambuf_iterator<char>(in), {});
    const std::size_t movie = sample.find("movi");
    ASSERT_NE(movie, Bytes::npos);
    TempDir dir;
    const std::vector<std::string> files{QUIBO_SAMPLE_FILE, dir.Write("cut.avi", sample.substr(0, 997 * 50)),
                                         dir.Write("huge-movie.avi", sample.substr(0, movie - 4) + Le32(0xFFFFFFFF) +
                                                                         sample.substr(movie))};
    EXPECT_FALSE(run(QStringLiteral(QUIBO_PROGRAM_PATH), {QString::fromStdString(files[0])})["info"].empty());
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const QString path = QString::fromStdString(file);
        nlohmann::json shown = run(QStringLiteral(QUIBO_PROGRAM_PATH), {path});
        nlohmann::json reported = run(QStringLiteral(QUIBO_INFO_PATH), {QStringLiteral("--json"), path});
        ASSERT_FALSE(shown.is_discarded());
        ASSERT_FALSE(reported.is_discarded());
        EXPECT_EQ(shown["general"]["filename"], file);
        for (const char* part : {"general", "video", "audio", "info"}) EXPECT_EQ(shown[part], reported[part]) << part;
    }
}

}  // namespace
}  // namespace quibo::test
