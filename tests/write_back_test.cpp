// SPDX-License-Identifier: GPL-3.0-or-later
// Save and Save As on real files: what reaches the disk, and that a write or copy that fails or is refused leaves the
// file, and the edits in memory, as they were.
#include <regex>
#include <set>
#include <sys/file.h>
#include <sys/resource.h>

#include "test_window.h"

namespace quibo::test {
namespace {

// `text` as a regular expression that matches it alone.
std::string Exactly(const std::string& text) {
    return "^" + std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") + "$";
}

const Bytes kClip = TitledClip();

// A real clip in a fresh folder, open in a window with its title edited.
struct EditedClip {
    EditedClip() {
        window.OpenByName(path);
        EXPECT_TRUE(window.Edit(0, "INAM", "A longer title"));
        edited = window.Image();
        EXPECT_NE(edited, original);
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "")) names.insert(entry.path().filename());
        return names;
    }
    // The last message and what the window shows after a save.
    std::string Outcome() const {
        const Message last = window.LastMessage();
        return last.caption + "|" + last.text + "|" + window.Status() + "|" +
               (window.dialog.ImageModified() ? "modified" : "saved");
    }

    TempDir dir;
    const Bytes original = kClip;
    const std::string path = dir.Write("clip.avi", original);
    TestWindow<PosixFileAccess> window;
    Bytes edited;
};

class WriteBack : public testing::Test, public EditedClip {};

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
    EXPECT_EQ(Outcome(), "File Open Failure|Unable to open file " + path + ":\n\nResource temporarily unavailable\n\n" +
                             path + " is open in another program (locked).|* Update failed *|modified");
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_TRUE(window.dialog.IsCommandEnabled(command::kSave));

    window.dialog.ConfirmAndWrite();
    EXPECT_EQ(window.Status(), "Update successful");
    EXPECT_FALSE(window.dialog.ImageModified());
    EXPECT_EQ(ReadAll(path), edited);
}

// A save that fails or is refused leaves the file as it was, or as another program left it, and keeps the edits;
// Save As still makes an edited copy, with the source's mode, unless the file is no longer the one read or the copy
// fails too. The faults: a read-only file, to a plain user (root writes to any), whose copy is writable while the
// edits go in; the file size limit, which stops the save just past the first changed byte and the copy part-way;
// another program's change between Open and Save, which Save As refuses too unless only the name moved.
TEST(SaveFaults, FileIsLeftAsItWasAndTheEditsAreKept) {
    auto renameOver = [](EditedClip& clip, const Bytes& bytes) {
        return ::rename(clip.dir.Write("n", bytes).c_str(), clip.path.c_str()) == 0;
    };
    Bytes retitled = kClip;
    retitled.replace(kClip.find("Title"), 5, "Other");
    auto changed = [](const std::string& why) {
        return "File Changed on Disk|@ has changed since Quibo read it: " + why +
               ".\n\nNothing was written; the edits are kept. Open the file again to edit it as it is now.";
    };
    const std::string notRead = changed("its first bytes are not those Quibo read"),
                      renamed = changed("another file has taken its name");
    // `apply` makes the fault, in a child process when `inChild`, and says whether it could; `outcome`: what the
    // save shows (@ standing for the clip's path); `copy`: "made", "refused" or "failed", as the user was told.
    struct Case { const char* fault; std::function<bool(EditedClip&)> apply; bool inChild; std::string outcome, copy; };
    const Case cases[] = {
        {"read-only", [](EditedClip& clip) {
             return ::chmod(clip.path.c_str(), 0444) == 0 && ::chmod((clip.dir / "").c_str(), 0777) == 0 &&
                    (::geteuid() != 0 ||
                     (::setresgid(65534, 65534, 65534) == 0 && ::setresuid(65534, 65534, 65534) == 0));
         }, true, "File Open Failure|Unable to open file @:\n\nPermission denied", "made"},
        {"file size limit", [](EditedClip& clip) {
             const auto limit = static_cast<rlim_t>(
                 std::mismatch(clip.original.begin(), clip.original.end(), clip.edited.begin()).first -
                 clip.original.begin() + 1);
             const rlimit limits{limit, RLIM_INFINITY};
             return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &limits) == 0;
         }, true, "File Write Failure|Write operation failed for @:\n\nFile too large", "failed"},
        {"another editor's change in place",
         [&](EditedClip& clip) { return ReadAll(clip.dir.Write("clip.avi", retitled)) == retitled; }, false,
         notRead, "refused"},
        {"a rewritten file renamed over it", [&](EditedClip& clip) { return renameOver(clip, retitled); }, false,
         renamed, "refused"},
        {"the same bytes renamed over it", [&](EditedClip& clip) { return renameOver(clip, kClip); }, false,
         renamed, "made"},
        {"cut short", [](EditedClip& clip) { return ::truncate(clip.path.c_str(), 50) == 0; }, false,
         changed("its length is now 50 bytes, not " + std::to_string(kClip.size())), "refused"},
        {"a second Quibo saved first", [](EditedClip& clip) {
             TestWindow<PosixFileAccess> second;
             second.OpenByName(clip.path);
             return second.Edit(0, "INAM", "Second") && second.dialog.ConfirmAndWrite();
         }, false, notRead, "refused"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        EditedClip clip;
        const std::string copy = clip.window.dialogs.savePath.emplace(clip.dir / "copy.avi");
        // What the fault left on disk; a child's faults leave the file as it was.
        Bytes left = kClip;
        auto run = [&] {
            if (!c.apply(clip)) return std::string("fault not made");
            left = ReadAll(clip.path);
            clip.window.dialog.ConfirmAndWrite();
            const std::string saved = clip.Outcome();
            const bool made = clip.window.dialog.OnSaveAs();
            return saved + "|" + (made ? "made" : clip.window.copyObserver.failures.empty() ? "refused" : "failed");
        };
        std::string outcome = c.outcome + "|* Update failed *|modified|" + c.copy;
        for (std::size_t at; (at = outcome.find('@')) != std::string::npos;) outcome.replace(at, 1, clip.path);
        // A child process may change its user or limits without touching the test's own; it prints what it saw, once
        // the file size limit can no longer cut that short.
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        if (!c.inChild) EXPECT_EQ(run(), outcome);
        else EXPECT_EXIT({
            const std::string saw = run();
            std::cerr << (::setrlimit(RLIMIT_FSIZE, &unlimited) == 0 ? saw : "limit not lifted");
            std::exit(0);
        }, testing::ExitedWithCode(0), Exactly(outcome));
        EXPECT_EQ(ReadAll(clip.path), left);
        EXPECT_EQ(clip.Names(), (c.copy == "made" ? std::set<std::string>{"clip.avi", "copy.avi"}
                                                  : std::set<std::string>{"clip.avi"}));
        if (c.copy == "made") {
            EXPECT_EQ(ReadAll(copy), clip.edited);
            EXPECT_EQ(std::filesystem::status(copy).permissions(), std::filesystem::status(clip.path).permissions());
        }
    }
}

// Save As onto each kind of target: the clip itself, under its name or a hard or symbolic link, is refused before
// any write or question; a link that names nothing is refused, one that names a file is written through; another
// file is replaced only once the user agrees, and a copy cancelled or killed part-way leaves the old one or none.
// Whatever happens, the clip keeps its bytes, the folder gains no file but a finished copy, and a link stays one.
TEST(SaveAs, EachTargetGetsOnlyAFinishedCopy) {
    const char* same = ": the source and the target are the same file.";
    // `target`: a name in the clip's folder, which also holds older.avi ("" for the clip itself); `link`: made there
    // first, 'h' a hard link to the clip, 's' a symbolic one to `to` (the clip when empty). `failure`: what the user
    // is told after "Cannot copy <clip>", @ standing for the target.
    struct Case { const char* name; std::string target; char link; const char* to; bool replace; int cancelAt, killAt;
                  std::string failure; bool asked, made; };
    const Case cases[] = {
        {"the clip itself", "", 0, "", true, 0, 0, same, false, false},
        {"a hard link to it", "link.avi", 'h', "", true, 0, 0, same, false, false},
        {"a symbolic link to it", "link.avi", 's', "", true, 0, 0, same, false, false},
        {"a link to nothing", "link.avi", 's', "nowhere.avi", true, 0, 0,
         " to @: it is a symbolic link to a file that does not exist.", false, false},
        {"a link to another file", "link.avi", 's', "older.avi", true, 0, 0, "", true, true},
        {"another file, not to be replaced", "older.avi", 0, "", false, 0, 0, "", true, false},
        {"another file, the copy cancelled", "older.avi", 0, "", true, 1, 0, "", true, false},
        {"another file, replaced", "older.avi", 0, "", true, 0, 0, "", true, true},
        {"a new file, the copy killed", "copy.avi", 0, "", false, 0, 2, "", false, false},
        {"the longest name", std::string(251, 'n') + ".avi", 0, "", false, 0, 0, "", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditedClip clip;
        TestWindow<PosixFileAccess>& window = clip.window;
        clip.dir.Write("older.avi", "an older copy");
        const std::string target = c.target.empty() ? clip.path : clip.dir / c.target;
        ASSERT_EQ(c.link == 'h'   ? ::link(clip.path.c_str(), target.c_str())
                  : c.link == 's' ? ::symlink(*c.to ? c.to : clip.path.c_str(), target.c_str())
                                  : 0, 0);
        const std::set<std::string> names = clip.Names();
        const Bytes old = ReadAll(target);
        const bool isLink = std::filesystem::is_symlink(target);
        window.dialogs.savePath = target;
        window.copyObserver.allowReplace = c.replace;
        window.copyObserver.cancelAtReport = c.cancelAt;
        window.copyObserver.killAtReport = c.killAt;
        if (c.killAt != 0) {
            EXPECT_EXIT(window.dialog.OnSaveAs(), testing::KilledBySignal(SIGKILL), "");
        } else {
            EXPECT_EQ(window.dialog.OnSaveAs(), c.made);
            EXPECT_EQ(window.dialogs.saveTitles, std::vector<std::string>{"Save modified copy of AVI file to..."});
            EXPECT_EQ(window.copyObserver.replaceAsked, std::vector<std::string>(c.asked, target));
        }
        std::string failure = c.failure.empty() ? "" : "Cannot copy " + clip.path + c.failure;
        if (const std::size_t at = failure.find('@'); at != std::string::npos) failure.replace(at, 1, target);
        EXPECT_EQ(window.copyObserver.failures, std::vector<std::string>(!failure.empty(), failure));
        EXPECT_EQ(ReadAll(clip.path), clip.original);
        EXPECT_EQ(ReadAll(target), c.made ? clip.edited : old);
        EXPECT_EQ(std::filesystem::is_symlink(target), isLink);
        std::set<std::string> expectedNames = names;
        if (c.made) expectedNames.insert(std::filesystem::path(target).filename());
        EXPECT_EQ(clip.Names(), expectedNames);
        EXPECT_EQ(window.dialog.FilePath(), c.made ? target : clip.path);
        EXPECT_EQ(window.dialog.ImageModified(), !c.made);
        EXPECT_EQ(window.Rows(), std::vector<std::string>{"INAM=A longer title"});
        EXPECT_EQ(window.Status() == "Copying and modification successful", c.made);
    }
}

TEST(PosixWrite, WriteThatCannotBeSyncedFails) {
    // /dev/null takes writes but cannot sync them.
    PosixFileHandle device(::open("/dev/null", O_RDWR | O_CLOEXEC), true);
    const WriteResult written = device.WriteAtStart(reinterpret_cast<const std::uint8_t*>("RIFF"), 4);
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.error, EINVAL);
}

}  // namespace
}  // namespace quibo::test
