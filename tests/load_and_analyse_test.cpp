// SPDX-License-Identifier: GPL-3.0-or-later
// The road from a file to the window: open, read, Refresh, failures, the
// image kept between files, and real files through the POSIX layer.
#include "platform/program_directory.h"
#include "test_window.h"

namespace quibo::test {
namespace {

std::vector<std::string> GeneralTexts(const RecordedFields& fields) {
    return {fields.Text(control::kFileName), fields.Text(control::kFileSize), fields.Text(control::kFileDate),
            fields.Text(control::kFileStatus)};
}

// A failed open shows the system's text and keeps the display, and Refresh then reanalyses the image kept, not the file
// changed on disk, with the last General texts: the date among them in local time. A failed read shows its text too,
// and nothing is analysed.
TEST_F(DialogTest, FailuresKeepTheDisplayAndRefreshReanalysesTheImage) {
    const std::optional<std::string> saved = std::getenv("TZ") ? std::optional(std::getenv("TZ")) : std::nullopt;
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
    files.Add("/data/a.avi", SmallAvi().ToBytes()).lastWrite = 1800000000;  // 15 Jan 2027, 08:00:00 UTC
    Open("/data/a.avi");
    const std::vector<std::string> general = GeneralTexts(fields);
    EXPECT_EQ(general[2], "15 Jan 2027, 17:00:00");
    const std::vector<std::string> rows = Rows();
    files.Add("/data/a.avi", "changed");
    files.Add("/data/locked.avi", "").openError = EACCES;
    Open("/data/locked.avi");
    EXPECT_EQ(LastMessage().icon, MessageIcon::Exclamation);
    EXPECT_EQ(GeneralTexts(fields), general);
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(dialog.FilePath(), "/data/locked.avi");
    const std::size_t opens = files.Opened().size();

    dialog.OnViewRefresh();
    EXPECT_EQ(files.Opened().size(), opens);
    EXPECT_EQ(GeneralTexts(fields), general);
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(dialog.Facts().videoStreamCount, 1);

    files.Add("/data/bad.avi", SmallAvi().ToBytes()).readError = EIO;
    Open("/data/bad.avi");
    const std::string openFailure = "File Open Failure: Unable to open file /data/locked.avi:\n\n";
    const std::string readError = "File Read Error: Error reading file /data/bad.avi:\n\n";
    EXPECT_EQ(Shown(), (std::vector<std::string>{openFailure + std::strerror(EACCES), readError + std::strerror(EIO)}));
    EXPECT_EQ(Status(), "Not a Valid AVI File: Bad Header");
    EXPECT_FALSE(dialog.FileRead());
    EXPECT_FALSE(dialog.FileAnalysed());
    EXPECT_TRUE(fields.Rows().empty());
    saved ? ::setenv("TZ", saved->c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}

TEST_F(DialogTest, ShorterFileAfterLongerOneSeesNoneOfItsBytes) {
    // 90,000 bytes with an INFO list at 50,000.
    Load(N::Riff("AVI ", {N::Leaf("JUNK", Bytes(49980, '\0')), InfoList({{"INAM", "Secret"}}),
                          N::Leaf("JUNK", Bytes(39964, '\0'))})
             .ToBytes());
    ASSERT_EQ(dialog.LoadedLength(), 90000u);
    ASSERT_EQ(Rows(), std::vector<std::string>{"INAM=Secret"});
    // 40,000 bytes whose chunks step on to offset 50,000.
    Load(N::Riff("AVI ", {N::Leaf("JUNK", Bytes(38000, '\0')),
                          N::Leaf("JUNK", Bytes(1972, '\0')).DeclaredSize(11972)})
             .DeclaredSize(39000).ToBytes());
    EXPECT_EQ(dialog.LoadedLength(), 40000u);
    EXPECT_EQ(Status(), "File Length Correct");
    EXPECT_TRUE(fields.Rows().empty());
    const std::uint8_t* image = dialog.FileImage();
    EXPECT_TRUE(std::all_of(image + 40000, image + kImageCapacity, [](std::uint8_t b) { return b == 0; }));
}

// While another opener holds a file, the window names it as locked; once free, it opens under its long path, kept
// whole, and the next Open dialog starts at it; cancelling that dialog changes nothing. The file, sparse, is over 4 GiB
// and keeps its size.
TEST(PosixFiles, LockedFilesLongPathsAndSizesOver4GiB) {
    TempDir dir;
    const std::string folder = dir / (std::string(120, 'a') + "/" + std::string(120, 'b'));
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/long.avi";
    ASSERT_GT(path.size(), 260u);
    std::ofstream(path, std::ios::binary)
        << N::Riff("AVI ", {InfoList({{"INAM", "Big"}})}).DeclaredSize(0xFFFFFFF0).ToBytes();
    ASSERT_EQ(::truncate(path.c_str(), 4831838208), 0) << std::strerror(errno);
    PosixFileAccess other;
    OpenResult held = other.OpenExclusiveRead(path);
    ASSERT_TRUE(held.handle);

    TestWindow<PosixFileAccess> window;
    window.OpenByName(path);
    EXPECT_EQ(window.Shown(), std::vector<std::string>{"File Open Failure: Unable to open file " + path + ":\n\n" +
                                                       std::strerror(EWOULDBLOCK) + "\n\n" + path +
                                                       " is open in another program (locked)."});
    held.handle.reset();
    window.Open(path);
    EXPECT_EQ(window.messages.shown.size(), 1u);
    EXPECT_EQ(window.dialog.FilePath(), path);
    EXPECT_EQ(window.fields.Text(control::kFileStatus), "File Length Correct");
    EXPECT_EQ(window.fields.Text(control::kFileSize), "4,608 MB   (4,718,592 KB    4,831,838,208 bytes)");
    EXPECT_EQ(window.Rows(), std::vector<std::string>{"INAM=Big"});

    window.dialog.OnFileOpen();
    ASSERT_EQ(window.dialogs.openRequests.size(), 2u);
    EXPECT_EQ(window.dialogs.openRequests[1].initialPath, path);
    EXPECT_TRUE(window.dialog.FileAnalysed());
    EXPECT_EQ(window.fields.Text(control::kFileName), path);
}

TEST(PosixFiles, ProgramDirectoryIsTheExecutablesFolder) {
    EXPECT_EQ(ProgramDirectory(), std::filesystem::canonical(QUIBO_TESTS_DIR).string() + "/");
}

}  // namespace
}  // namespace quibo::test
