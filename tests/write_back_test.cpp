// SPDX-License-Identifier: GPL-3.0-or-later
// Save and Save As on real files: what reaches the disk, and that a write
// or copy that fails or is refused leaves the file, and the edits in
// memory, as they were.
#include <set>
#include <sys/file.h>
#include <sys/resource.h>

#include "test_window.h"

namespace quibo::test {
namespace {

using N = RiffNode;

// Runs `body` in a child process and returns what it reported: the child
// may change its user or limits without touching the test's own.
std::string InChild(const std::function<std::string()>& body) {
    int ends[2];
    if (::pipe(ends) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        const std::string report = body();
        ::_exit(::write(ends[1], report.data(), report.size()) == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    ::close(ends[1]);
    std::string report;
    char buffer[512];
    for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;) report.append(buffer, got);
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? report : report + " (child failed)";
}

// The last message and what the window shows after a save.
std::string Outcome(const TestWindow<PosixFileAccess>& window) {
    const Message last = window.LastMessage();
    return last.caption + "|" + last.text + "|" + window.Status() + "|" +
           (window.dialog.ImageModified() ? "modified" : "saved");
}

class WriteBack : public testing::Test {
protected:
    // Every test starts with the file open and its title edited.
    void SetUp() override {
        window.OpenByName(path);
        ASSERT_TRUE(window.dialog.FileAnalysed());
        ASSERT_TRUE(window.Edit(0, "INAM", "A longer title"));
        edited = window.Image();
        ASSERT_NE(edited, original);
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "")) names.insert(entry.path().filename());
        return names;
    }

    TempDir dir;
    const Bytes original = N::Riff("AVI ", {N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0'))}),
                                            InfoList({{"INAM", "Title"}}), N::Leaf("JUNK", Bytes(200, '\x01')),
                                            N::List("movi", {N::Leaf("00dc", "frame")})})
                               .ToBytes();
    const std::string path = dir.Write("clip.avi", original);
    TestWindow<PosixFileAccess> window;
    Bytes edited;
};

// Nothing is written before the user confirms, nor while another opener
// holds a lock; the edits are kept, and saving once the lock is freed works.
TEST_F(WriteBack, SaveWritesTheEditedStartOnlyWhenConfirmedAndUnlocked) {
    window.messages.Answer(MessageAnswer::Cancel);
    window.dialog.ConfirmAndWrite();
    EXPECT_EQ(window.LastMessage().caption, "File Modification Confirmation");
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_TRUE(window.dialog.ImageModified());

    int other = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    window.dialog.ConfirmAndWrite();
    ::close(other);
    EXPECT_EQ(Outcome(window), "File Open Failure|Unable to open file " + path +
                                   ":\n\nResource temporarily unavailable\n\n" + path +
                                   " is open in another program (locked).|* Update failed *|modified");
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_TRUE(window.dialog.IsCommandEnabled(command::kSave));

    window.dialog.ConfirmAndWrite();
    EXPECT_EQ(window.Status(), "Update successful");
    EXPECT_FALSE(window.dialog.ImageModified());
    EXPECT_EQ(ReadAll(path), edited);
}

// A plain user may not write a read-only file (root writes to any), but
// Save As still gives an edited copy: it is writable while the edits go in
// and takes the source's mode once complete.
TEST_F(WriteBack, ReadOnlyFileIsLeftAsItWasAndSaveAsMakesAnEditedCopy) {
    const std::string copy = dir / "copy.avi";
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(::chmod((dir / "").c_str(), 0777), 0);
    window.dialogs.savePath = copy;
    const std::string outcome = InChild([&] {
        if (::geteuid() == 0 && (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0))
            return std::string("cannot leave root");
        window.dialog.ConfirmAndWrite();
        const std::string saved = Outcome(window);
        return saved + (window.dialog.OnSaveAs() ? "|made " : "|refused ") + window.dialog.FilePath();
    });
    EXPECT_EQ(outcome, "File Open Failure|Unable to open file " + path +
                           ":\n\nPermission denied|* Update failed *|modified|made " + copy);
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_EQ(ReadAll(copy), edited);
    EXPECT_EQ(std::filesystem::status(copy).permissions(), std::filesystem::perms(0444));
}

// Save stops just past the first changed byte, a copy part-way: the file is
// left as it was, the edits are kept and no copy is left.
TEST_F(WriteBack, WritesThatHitTheFileSizeLimitLeaveTheFileAsItWasAndNoCopy) {
    const auto limit = static_cast<rlim_t>(std::mismatch(original.begin(), original.end(), edited.begin()).first -
                                           original.begin() + 1);
    window.dialogs.savePath = dir / "copy.avi";
    const std::string outcome = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limits{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &limits) != 0) return std::string("no limit");
        window.dialog.ConfirmAndWrite();
        const std::string saved = Outcome(window);
        window.dialog.OnSaveAs();
        return saved + "|" + window.dialog.FilePath() + "|" + std::to_string(window.copyObserver.failures.size()) +
               (window.dialog.ImageModified() ? "|modified" : "|saved");
    });
    EXPECT_EQ(outcome, "File Write Failure|Write operation failed for " + path +
                           ":\n\nFile too large|* Update failed *|modified|" + path + "|1|modified");
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_EQ(Names(), std::set<std::string>{"clip.avi"});
}

// Another program changes the file between Open and Save: nothing is
// written over it, the user is told, and the edits stay. Save As copies
// the file as it is now, so it refuses too, unless only the name moved.
TEST_F(WriteBack, FileChangedSinceOpenIsNeverWrittenOver) {
    auto renameOver = [&](const Bytes& bytes) { ASSERT_EQ(::rename(dir.Write("n", bytes).c_str(), path.c_str()), 0); };
    Bytes retitled = original;
    retitled.replace(original.find("Title"), 5, "Other");
    struct Case { const char* change; std::function<void()> apply; std::string why; bool copyMade; };
    const Case cases[] = {
        {"another editor's change in place", [&] { dir.Write("clip.avi", retitled); },
         "its first bytes are not those Quibo read", false},
        {"a rewritten file renamed over it", [&] { renameOver(retitled); }, "another file has taken its name", false},
        {"the same bytes renamed over it", [&] { renameOver(original); }, "another file has taken its name", true},
        {"cut short", [&] { ASSERT_EQ(::truncate(path.c_str(), 50), 0); },
         "its length is now 50 bytes, not " + std::to_string(original.size()), false},
        {"a second Quibo saved first", [&] {
             TestWindow<PosixFileAccess> second;
             second.OpenByName(path);
             ASSERT_TRUE(second.Edit(0, "INAM", "Second") && second.dialog.ConfirmAndWrite());
         }, "its first bytes are not those Quibo read", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        dir.Write("clip.avi", original);
        TestWindow<PosixFileAccess> first;
        first.OpenByName(path);
        ASSERT_TRUE(first.Edit(0, "INAM", "A longer title"));
        c.apply();
        const Bytes changed = ReadAll(path);

        EXPECT_FALSE(first.dialog.ConfirmAndWrite());
        EXPECT_EQ(Outcome(first), "File Changed on Disk|" + path + " has changed since Quibo read it: " + c.why +
                                      ".\n\nNothing was written; the edits are kept. Open the file again to edit "
                                      "it as it is now.|* Update failed *|modified");
        const std::string copy = first.dialogs.savePath.emplace(dir / (std::string(c.change) + ".avi"));
        EXPECT_EQ(first.dialog.OnSaveAs(), c.copyMade);
        // The copy holds the edited image, or there is none.
        EXPECT_EQ(std::filesystem::exists(copy) ? ReadAll(copy) : "none", c.copyMade ? first.Image() : "none");
        EXPECT_EQ(ReadAll(path), changed);
    }
}

// A copy killed part-way leaves nothing; a link that names nothing is
// refused, one that names a file is written through; any valid name works.
TEST_F(WriteBack, SaveAsLeavesOnlyAFinishedCopyAtTheNameGiven) {
    window.dialogs.savePath = dir / "copy.avi";
    window.copyObserver.killAtReport = 2;
    EXPECT_EQ(InChild([&] { return std::to_string(window.dialog.OnSaveAs()); }), " (child failed)");
    EXPECT_EQ(Names(), std::set<std::string>{"clip.avi"});
    window.copyObserver.killAtReport = 0;

    const std::string dangling = dir / "dangling.avi", through = dir / "through.avi";
    ASSERT_EQ(::symlink("nowhere.avi", dangling.c_str()), 0);
    window.dialogs.savePath = dangling;
    EXPECT_FALSE(window.dialog.OnSaveAs());
    EXPECT_EQ(window.copyObserver.failures.back(),
              "Cannot copy " + path + " to " + dangling + ": it is a symbolic link to a file that does not exist.");
    EXPECT_EQ(std::filesystem::read_symlink(dangling), "nowhere.avi");

    dir.Write("older.avi", "an older copy");
    ASSERT_EQ(::symlink("older.avi", through.c_str()), 0);
    window.dialogs.savePath = through;
    window.copyObserver.allowReplace = true;
    EXPECT_TRUE(window.dialog.OnSaveAs());
    EXPECT_EQ(std::filesystem::read_symlink(through), "older.avi");
    EXPECT_EQ(ReadAll(dir / "older.avi"), edited);

    const std::string longest = dir / (std::string(251, 'n') + ".avi");
    ASSERT_TRUE(window.Edit(0, "INAM", "A longer title"));
    window.dialogs.savePath = longest;
    EXPECT_TRUE(window.dialog.OnSaveAs());
    EXPECT_EQ(ReadAll(longest), edited);
    EXPECT_EQ(Names().size(), 5u);
}

TEST(PosixWrite, WriteThatCannotBeSyncedFails) {
    // /dev/null takes writes but cannot sync them.
    PosixFileHandle device(::open("/dev/null", O_RDWR | O_CLOEXEC), true);
    const WriteResult written = device.WriteAtStart(reinterpret_cast<const std::uint8_t*>("RIFF"), 4);
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.error, EINVAL);
}

// The file itself, under its name or a hard or symbolic link, is refused
// before any write or question; another file is replaced only once the
// user agrees, and a copy stopped part-way leaves the old one.
TEST_F(WriteBack, SaveAsRefusesTheSameFileAndAsksBeforeReplacingAnother) {
    const std::string hard = dir / "hard.avi", soft = dir / "soft.avi";
    ASSERT_EQ(::link(path.c_str(), hard.c_str()), 0);
    ASSERT_EQ(::symlink(path.c_str(), soft.c_str()), 0);
    for (const std::string& target : {path, hard, soft}) {
        SCOPED_TRACE(target);
        window.dialogs.savePath = target;
        window.dialog.OnSaveAs();
        ASSERT_FALSE(window.copyObserver.failures.empty());
        EXPECT_NE(window.copyObserver.failures.back().find("the same file"), std::string::npos);
        EXPECT_EQ(window.dialog.FilePath(), path);
        EXPECT_TRUE(window.dialog.ImageModified());
        EXPECT_EQ(window.Image(), edited);
        EXPECT_EQ(ReadAll(path), original);
    }
    EXPECT_EQ(window.copyObserver.failures.size(), 3u);
    EXPECT_TRUE(window.copyObserver.replaceAsked.empty());
    EXPECT_EQ(Names(), (std::set<std::string>{"clip.avi", "hard.avi", "soft.avi"}));

    const std::string copy = dir.Write("copy.avi", "an older copy");
    window.dialogs.savePath = copy;
    window.dialog.OnSaveAs();
    EXPECT_EQ(window.copyObserver.replaceAsked, std::vector<std::string>{copy});
    window.copyObserver.allowReplace = true;
    window.copyObserver.cancelAtReport = window.copyObserver.progressReports + 1;
    window.dialog.OnSaveAs();
    EXPECT_EQ(ReadAll(copy), "an older copy");
    EXPECT_EQ(Names(), (std::set<std::string>{"clip.avi", "copy.avi", "hard.avi", "soft.avi"}));
    EXPECT_EQ(window.dialog.FilePath(), path);
    EXPECT_TRUE(window.dialog.ImageModified());

    window.copyObserver.cancelAtReport = 0;
    window.dialog.OnSaveAs();
    EXPECT_EQ(window.dialogs.saveTitles.back(), "Save modified copy of AVI file to...");
    EXPECT_EQ(ReadAll(copy), edited);
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_EQ(window.dialog.FilePath(), copy);
    EXPECT_FALSE(window.dialog.ImageModified());
    EXPECT_EQ(window.Status(), "Copying and modification successful");
    EXPECT_EQ(window.Rows(), std::vector<std::string>{"INAM=A longer title"});
}

}  // namespace
}  // namespace quibo::test
