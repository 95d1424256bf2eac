// SPDX-License-Identifier: GPL-3.0-or-later
// Open, Refresh, Close and Exit with and without unsaved INFO edits, for every answer of the questions they ask, on
// real files.
#include "test_window.h"

namespace quibo::test {
namespace {

using A = MessageAnswer;

struct Case {
    std::string_view command;
    bool edited;
    std::vector<A> answers;
    // Questions asked | where the window went | the first file | its edits.
    const char* outcome;
};

const Case kCases[] = {
    {"Open", false, {}, "|other.avi|as it was|clean"},
    {"Open", true, {A::Cancel}, "File Open|clip.avi|as it was|modified"},
    {"Open", true, {A::No}, "File Open|other.avi|as it was|clean"},
    {"Open", true, {A::Yes, A::Cancel}, "File Open,File Modification Confirmation|other.avi|as it was|clean"},
    {"Open", true, {A::Yes, A::Ok}, "File Open,File Modification Confirmation|other.avi|written|clean"},
    {"Refresh", true, {}, "|clip.avi|as it was|modified"},
    {"Close", false, {}, "|closed|as it was|clean"},
    {"Close", true, {A::Cancel}, "File Close|clip.avi|as it was|modified"},
    {"Close", true, {A::No}, "File Close|closed|as it was|clean"},
    {"Close", true, {A::Yes, A::Cancel}, "File Close,File Modification Confirmation|closed|as it was|clean"},
    {"Close", true, {A::Yes, A::Ok}, "File Close,File Modification Confirmation|closed|written|clean"},
    {"Exit", false, {}, "|exits|as it was|clean"},
    {"Exit", true, {A::Cancel}, "Exiting...|stays|as it was|modified"},
    {"Exit", true, {A::No}, "Exiting...|exits|as it was|modified"},
    {"Exit", true, {A::Yes, A::Cancel}, "Exiting...,File Modification Confirmation|exits|as it was|modified"},
    {"Exit", true, {A::Yes, A::Ok}, "Exiting...,File Modification Confirmation|exits|written|clean"},
};

TEST(UnsavedEdits, EachAnswerOfEachQuestion) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.command) + " " + c.outcome);
        TempDir dir;
        const std::string clip = dir.Write("clip.avi", TitledClip("Title"));
        const std::string other = dir.Write("other.avi", TitledClip("Other"));
        TestWindow<PosixFileAccess> window;
        MainDialog& dialog = window.dialog;
        window.Open(clip);
        if (c.edited) {
            ASSERT_TRUE(window.Edit(0, "INAM", "Edited title"));
        }

        for (A answer : c.answers) window.messages.Answer(answer);
        window.dialogs.Answer(other);  // if the Open dialog is shown
        std::string went;
        if (c.command == "Open") dialog.OnFileOpen();
        else if (c.command == "Refresh") dialog.OnViewRefresh();
        else if (c.command == "Close") dialog.OnFileClose();
        else went = dialog.OnCancel() ? "exits" : "stays";
        if (went.empty())
            went = dialog.FileRead() ? std::filesystem::path(dialog.FilePath()).filename().string() : "closed";

        std::string asked;
        for (const Message& message : window.messages.shown) {
            if (message.caption != "File Modification Confirmation") {
                EXPECT_EQ(message.text, "Save changes to " + clip + "?");
                EXPECT_EQ(message.buttons, MessageButtons::YesNoCancel);
                EXPECT_EQ(message.icon, MessageIcon::Question);
            }
            asked += (asked.empty() ? "" : ",") + message.caption;
        }
        // An Open with unsaved edits asks before it shows its dialog.
        EXPECT_EQ(window.dialogs.openRequests.size(), c.command == "Open" && went == "other.avi" ? 2u : 1u);
        const Bytes onDisk = ReadAll(clip);
        const char* file = onDisk == TitledClip("Title")                      ? "as it was"
                           : onDisk.find("Edited title") != Bytes::npos ? "written" : "damaged";
        EXPECT_EQ(asked + "|" + went + "|" + file + "|" + (dialog.ImageModified() ? "modified" : "clean"), c.outcome);
        EXPECT_EQ(ReadAll(other), TitledClip("Other"));
    }
}

}  // namespace
}  // namespace quibo::test
