// The main window's field tooltips and the RIFF Info list's context menu,
// over the sample file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolTip>
#include <map>

#include "gui/main_window.h"
#include "modal_script.h"
#include "res/command_ids.h"
#include "res/control_ids.h"

namespace quibo::test {
namespace {

// A copy of `path` in `dir`: the window locks the files it reads, and other
// tests may be reading the originals.
std::string CopyInto(const QTemporaryDir& dir, const char* path) {
    const QString copy = dir.filePath(QFileInfo(QString::fromUtf8(path)).fileName());
    EXPECT_TRUE(QFile::copy(QString::fromUtf8(path), copy));
    return copy.toStdString();
}

struct SampleWindow {
    SampleWindow() : window({CopyInto(dir, QUIBO_CODEC_FILE)}, CopyInto(dir, QUIBO_SAMPLE_FILE)) {
        window.show();
        // Start-up asks nothing of the sample; a box it did show is closed
        // and reported rather than waited for.
        ModalScript unexpected;
        window.Start();
        QApplication::processEvents();
        EXPECT_TRUE(unexpected.Met().empty());
    }
    TitleTipListCtrl& List() { return *window.InfoListView(); }
    QPoint RowCentre(int row) { return List().visualItemRect(List().topLevelItem(row)).center(); }
    void Select(int row) { List().setCurrentItem(List().topLevelItem(row)); }
    QStringList Codes() {
        QStringList codes;
        for (int row = 0; row < List().topLevelItemCount(); ++row) codes << List().topLevelItem(row)->text(0);
        return codes;
    }

    QTemporaryDir dir;
    MainWindow window;
};

// Runs `command` from `menu` the way a click on it does, the enable rules
// first; answers OK to the question it asks and returns that question.
QString Choose(QMenu& menu, int command) {
    QString question;
    ModalScript script;
    script.Then<QMessageBox>([&question](QMessageBox& box) {
        question = box.text();
        box.button(QMessageBox::Ok)->click();
    });
    emit menu.aboutToShow();
    for (QAction* action : menu.actions())
        if (!action->isSeparator() && action->data().toInt() == command) {
            EXPECT_TRUE(action->isEnabled());
            action->trigger();
            return question;
        }
    ADD_FAILURE() << "no command " << command;
    return question;
}

TEST(MainWindowTooltips, EveryFieldExplainsItself) {
    SampleWindow sample;
    const std::map<int, QString> expected = {
        {control::kVideoFourCC, "Four digit code identifies type of video codec"},
        {control::kAudioBitrate, "Reported bitrate of the audio stream in kb/s"},
        {control::kVideoVendor, "Manufacturer of the video codec"},
        {control::kAudioEncoding, "Encoding method used by the audio stream"},
        {control::kFileDate, "The file's last modification date"},
        {control::kFileName, "Name of the file being examined"},
        {control::kFileSize, "Size of the file being examined"},
        {control::kVideoFrameRate, "Video frame rate in frames per second"},
        {control::kVideoDuration, "Duration if the video in hrs, mins, and seconds"},
        {control::kVideoBitrate, "Computed average bitrate of the video stream"},
        {control::kVideoCodec, "Name of the video codec"},
        {control::kVideoStatus, "Installation status of video codec shown here"},
        {control::kFileStatus, "Detected problems with the AVI file shown here"},
        {control::kVideoAspect, "Frame size in pixels (width x height), and ratio of those two numbers"},
        {control::kOpenButton, ""},
        {control::kInfoList, ""},
    };
    for (const auto& [id, text] : expected) EXPECT_EQ(sample.window.Control(id)->toolTip(), text) << "control " << id;

    QWidget* status = sample.window.Control(control::kVideoStatus);
    QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), status->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(status, &help);
    EXPECT_EQ(QToolTip::text(), "Installation status of video codec shown here");
    QToolTip::hideText();
}

TEST(InfoContextMenu, OpensOverAnItemOnly) {
    SampleWindow sample;
    ASSERT_GE(sample.List().topLevelItemCount(), 2);
    std::unique_ptr<QMenu> menu = sample.window.InfoContextMenuAt(sample.RowCentre(1));
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* action : menu->actions()) texts << action->text();
    EXPECT_EQ(texts, (QStringList{"&Edit this RIFF Info Field", "&Delete this RIFF Info Feild", "",
                                  "&New RIFF Info Field"}));

    const QTreeWidgetItem* last = sample.List().topLevelItem(sample.List().topLevelItemCount() - 1);
    const QPoint belowLast = sample.List().visualItemRect(last).bottomLeft() + QPoint(10, 10);
    ASSERT_LT(belowLast.y(), sample.List().viewport()->height());
    EXPECT_EQ(sample.window.InfoContextMenuAt(belowLast), nullptr);
}

TEST(InfoContextMenu, DeleteDoesWhatTheEditMenusDeleteDoes) {
    SampleWindow byContext;
    SampleWindow byEditMenu;
    const QStringList before = byContext.Codes();
    ASSERT_TRUE(before.contains("ICMT"));
    const int row = static_cast<int>(before.indexOf("ICMT"));

    byContext.Select(row);
    std::unique_ptr<QMenu> menu = byContext.window.InfoContextMenuAt(byContext.RowCentre(row));
    ASSERT_NE(menu, nullptr);
    const QString asked = Choose(*menu, command::kDeleteField);
    EXPECT_EQ(asked, "Delete info node ICMT (Comments)?");

    byEditMenu.Select(row);
    EXPECT_EQ(Choose(*byEditMenu.window.Menus().at(1), command::kDeleteField), asked);

    EXPECT_EQ(byContext.Codes().size(), before.size() - 1);
    EXPECT_FALSE(byContext.Codes().contains("ICMT"));
    EXPECT_EQ(byContext.Codes(), byEditMenu.Codes());
    EXPECT_TRUE(byContext.window.Dialog().ImageModified());
    EXPECT_TRUE(byEditMenu.window.Dialog().ImageModified());
}

}  // namespace
}  // namespace quibo::test
