// SPDX-License-Identifier: GPL-3.0-or-later
// Edit, Delete and New on crafted images, compared byte by byte with the
// file the edit should make: the space each edit frees or needs comes from
// the JUNK chunks after the field, and nothing else moves.

#include "test_window.h"

namespace quibo::test {
namespace {

using N = RiffNode;
const std::string kPath = "/data/edit.avi";
const std::string kNoRoom = "No Room to Reorganize";
const std::string kUnspecified = "Unspecified Error";
const std::string kEditFailed = "Edit Failed";
const N kAvih = N::Leaf("avih", Bytes(56, '\0'));
// The list New makes where there is none.
const N kQuiboList = InfoList({{"ICMT", "ab"}, {"ISFT", "Quibo v1.1"}});

// JUNK filler whose bytes tell where they came from and are never text.
Bytes Filler(std::size_t size) {
    Bytes bytes;
    for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>(0x80 + i % 97);
    return bytes;
}

N Junk(std::size_t size) { return N::Leaf("JUNK", Filler(size)); }
N Header(std::vector<N> more = {}) {
    more.insert(more.begin(), kAvih);
    return N::List("hdrl", more);
}
N Movie() { return N::List("movi", {N::Leaf("00dc", "frame"), N::Leaf("01wb", "AUD1")}); }
Bytes Riff(const std::vector<N>& children) { return N::Riff("AVI ", children).ToBytes(); }

// An AVI: a header list, the given chunks, then the movie list.
Bytes Avi(std::vector<N> middle) {
    middle.insert(middle.begin(), Header());
    middle.push_back(Movie());
    return Riff(middle);
}

class InfoRebuild : public testing::Test {
protected:
    void Load(const Bytes& bytes) {
        window.files.Add(kPath, bytes);
        window.OpenByName(kPath);
        ASSERT_TRUE(window.dialog.FileAnalysed());
        loaded = bytes;
    }
    // The command failed with `caption` and left everything as loaded.
    void ExpectRefused(bool committed, const std::string& caption) {
        SCOPED_TRACE("refused: " + caption);
        EXPECT_FALSE(committed);
        EXPECT_EQ(window.LastMessage().caption, caption);
        ExpectUnchanged();
    }
    void ExpectUnchanged() {
        EXPECT_EQ(window.Image(), loaded);
        EXPECT_FALSE(window.dialog.ImageModified());
        EXPECT_FALSE(window.dialog.IsCommandEnabled(command::kSave));
    }
    TestWindow<MemoryFiles> window;
    Bytes loaded;
};

TEST_F(InfoRebuild, FollowingJunkGivesOrTakesTheDifference) {
    struct Case { const char* name; std::string from, to; std::vector<N> junkBefore, junkAfter; };
    const Case cases[] = {
        {"same padded length", "Titl", "Title", {Junk(100)}, {Junk(100)}},
        {"10 bytes shorter", "Fifteen letters", "Title", {Junk(100)},
         {N::Leaf("JUNK", Filler(100) + Bytes(10, '\0'))}},
        {"10 bytes longer", "Title", "Fifteen letters", {Junk(100)}, {Junk(90)}},
        // INAM 6 -> 20, the JUNK 100 -> 86.
        {"19 characters", "Title", "Nineteen characters", {Junk(100)}, {Junk(86)}},
        {"JUNK of 6, then another", "Title", "Fifteen letters", {Junk(6), Junk(20)}, {Junk(0), Junk(16)}},
    };
    auto avi = [](const std::string& title, std::vector<N> junk) {
        junk.insert(junk.begin(), InfoList({{"INAM", title}, {"IART", "Artist"}}));
        return Avi(junk);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(avi(c.from, c.junkBefore));
        const std::size_t asked = window.editor.Calls().size();
        ASSERT_TRUE(window.Edit(0, "INAM", c.to));
        EXPECT_EQ(window.Image(), avi(c.to, c.junkAfter));
        EXPECT_EQ(window.dialog.WriteLength(), loaded.size());
        EXPECT_TRUE(window.dialog.ImageModified());
        EXPECT_EQ(window.Rows(), (std::vector<std::string>{"INAM=" + c.to, "IART=Artist"}));
        ASSERT_EQ(window.editor.Calls().size(), asked + 1);
        EXPECT_EQ(window.editor.Calls().back().code + "=" + window.editor.Calls().back().text, "INAM=" + c.from);
    }
}

TEST_F(InfoRebuild, OddTextLengthsGetAZeroPadByte) {
    // The old field's pad byte is 'X'.
    Load(Avi({N::List("INFO", {N::Leaf("INAM", Bytes("Titl\0X", 6)).DeclaredSize(5)}), Junk(100)}));
    ASSERT_TRUE(window.Edit(0, "INAM", "Abcd"));
    EXPECT_EQ(window.Image(), Avi({InfoList({{"INAM", "Abcd"}}), Junk(100)}));
}

TEST_F(InfoRebuild, WithoutJunkAfterTheFieldOnlySamePaddedLengthFits) {
    Load(Avi({Junk(100), InfoList({{"INAM", "Titl"}})}));
    for (const std::string text : {"T", "Fifteen letters"}) ExpectRefused(window.Edit(0, "INAM", text), kNoRoom);
    EXPECT_TRUE(window.Edit(0, "INAM", "Title"));
    EXPECT_EQ(window.Image(), Avi({Junk(100), InfoList({{"INAM", "Title"}})}));
}

TEST_F(InfoRebuild, DeleteFreesTheWholeDeclaredFootprint) {
    Load(Avi({N::List("INFO", {N::Leaf("INAM", Bytes("Title\0", 6) + Bytes(14, '\0')), N::Leaf("IART", "Artist")}),
              Junk(100)}));
    window.fields.Select(0);
    window.messages.Answer(MessageAnswer::Cancel);
    EXPECT_FALSE(window.dialog.OnDeleteField());
    EXPECT_EQ(window.Shown(), std::vector<std::string>{"Confirm: Delete info node INAM (Name)?"});
    EXPECT_EQ(window.Image(), loaded);

    ASSERT_TRUE(window.Delete(0));
    EXPECT_EQ(window.Image(), Avi({N::List("INFO", {N::Leaf("IART", "Artist")}),
                                   N::Leaf("JUNK", Filler(100) + Bytes(28, '\0'))}));
    EXPECT_TRUE(window.editor.Calls().empty());
}

// A cancelled New leaves no trace, with an INFO list or without; then New
// puts the field first into the list.
TEST_F(InfoRebuild, CancelledNewLeavesNoTraceAndNewGoesFirst) {
    const std::pair<Bytes, std::vector<std::string>> files[] = {
        {Avi({Junk(100)}), {}}, {Avi({InfoList({{"INAM", "Title"}}), Junk(100)}), {"INAM=Title"}}};
    for (const auto& [file, rows] : files) {
        Load(file);
        window.editor.Cancel();
        EXPECT_FALSE(window.dialog.OnNewField());
        ExpectUnchanged();
        EXPECT_EQ(window.Rows(), rows);
    }
    // The pad byte of "ab" is zero, not the 'l' the old image held there.
    ASSERT_TRUE(window.New("ICMT", "ab"));
    EXPECT_EQ(window.Image(), Avi({InfoList({{"ICMT", "ab"}, {"INAM", "Title"}}), Junk(88)}));
    ASSERT_EQ(window.editor.Calls().size(), 3u);
    for (const auto& call : window.editor.Calls()) EXPECT_EQ(call.code + "=" + call.text, "----=");
    EXPECT_EQ(window.editor.Calls()[2].mode, InfoEditKind::Insert);
}

// Without an INFO list New lays one into a JUNK of at least 48 bytes where
// readers look for it: one in front of the movie list before a larger one
// in the header list; never into a stream list or the movie list.
TEST_F(InfoRebuild, NewListGoesWhereOtherProgramsReadIt) {
    const N stream = N::List("strl", {N::Leaf("strh", Bytes(56, '\0')), Junk(200)});
    // `refusal`: the caption New is refused with; empty when it lays `after`.
    struct Case { const char* name; Bytes file; const char* text; std::string refusal; Bytes after; };
    const Case cases[] = {
        {"JUNK of 47", Avi({Junk(47)}), "ab", kEditFailed, {}},
        // 48 holds the list; the 16 bytes left must take the new field.
        {"JUNK of 48, long text", Avi({Junk(48)}), "ten letter", kNoRoom, {}},
        {"JUNK of 48", Avi({Junk(48)}), "ab", "", Avi({kQuiboList, Junk(4)})},
        {"largest JUNK in the header list", Riff({Header({Junk(64)}), Junk(20), Movie()}), "ab", "",
         Riff({Header({kQuiboList, Junk(20)}), Junk(20), Movie()})},
        {"JUNK before the movie list first", Riff({Header({Junk(200)}), Junk(64), Movie()}), "ab", "",
         Riff({Header({Junk(200)}), kQuiboList, Junk(20), Movie()})},
        {"JUNK in a stream list", Riff({Header({stream}), Junk(20), Movie()}), "ab", kEditFailed, {}},
        {"JUNK in the movie list", Riff({Header(), N::List("movi", {N::Leaf("00dc", "frame"), Junk(100)})}), "ab",
         kNoRoom, {}},
        // The template's move left the JUNK's first 24 data bytes in front of
        // its bytes from 56 on.
        {"JUNK of 100", Avi({Junk(100)}), "ab", "",
         Avi({kQuiboList, N::Leaf("JUNK", Filler(24) + Filler(100).substr(56, 32))})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.file);
        const std::size_t calls = window.editor.Calls().size();
        if (!c.refusal.empty()) {
            ExpectRefused(window.New("ICMT", c.text), c.refusal);
            EXPECT_TRUE(window.Rows().empty());
            if (c.refusal == kEditFailed) {
                EXPECT_EQ(window.LastMessage().text, "No Room to Insert. File will not be modified");
                EXPECT_EQ(window.editor.Calls().size(), calls) << "the editor was asked";
            }
            continue;
        }
        ASSERT_TRUE(window.New("ICMT", c.text));
        EXPECT_EQ(window.Image(), c.after);
        EXPECT_EQ(window.Rows(), (std::vector<std::string>{"ICMT=ab", "ISFT=Quibo v1.1"}));
    }
}

// A list whose first child is a list with its header at 99,992: that
// child's form type would lie just past the image.
TEST_F(InfoRebuild, ListsAtTheImageEndAreNotReadPastIt) {
    auto file = [](const char* title, const Bytes& junk) {
        return Riff({Header(), InfoList({{"INAM", title}}), N::Leaf("JUNK", junk),
                     N::List("abcd", {N::List("efgh", {N::Leaf("data", Bytes(64, 'd'))})}), Movie()});
    };
    const Bytes before = file("Title", Filler(99858));
    ASSERT_EQ(before.compare(99992, 4, "LIST"), 0);
    Load(before);
    ASSERT_TRUE(window.Edit(0, "INAM", "T"));
    // The JUNK takes the 4 bytes freed.
    EXPECT_TRUE(window.Image() == file("T", Filler(99858) + Bytes(4, '\0')).substr(0, kImageCapacity));
}

// A field named like a chunk list would be walked as one, and the file
// would no longer open: neither an edit nor a new field may take the name.
TEST_F(InfoRebuild, ChunkListNamesAreRefusedAsFieldCodes) {
    Load(Avi({InfoList({{"INAM", "Title"}}), Junk(100)}));
    for (const char* code : {"LIST", "RIFF"}) {
        ExpectRefused(window.New(code, "hdrlmovie"), "Invalid Field Code");
        ExpectRefused(window.Edit(0, code, "Title"), "Invalid Field Code");
    }
    EXPECT_EQ(window.LastMessage().text, "Edit Failed. File will not be modified");
    // Letter case makes another, ordinary code.
    ASSERT_TRUE(window.New("list", "ab"));
    EXPECT_TRUE(window.dialog.FileAnalysed());

    // A new list laid into a JUNK for the refused field is taken out again.
    Load(Avi({Junk(100)}));
    ExpectRefused(window.New("LIST", "ab"), "Invalid Field Code");
}

TEST_F(InfoRebuild, DeletingTheOnlyFieldLeavesAnEmptyListThatNewSkips) {
    Load(Avi({InfoList({{"INAM", "Title"}}), Junk(100)}));
    ASSERT_TRUE(window.Delete(0));
    const Bytes freed = Filler(100) + Bytes(14, '\0');
    EXPECT_EQ(window.Image(), Avi({N::List("INFO"), N::Leaf("JUNK", freed)}));
    ASSERT_TRUE(window.New("ICMT", "ab"));
    EXPECT_EQ(window.Image(),
              Avi({N::List("INFO"), kQuiboList, N::Leaf("JUNK", freed.substr(0, 24) + freed.substr(56, 46))}));
}

TEST_F(InfoRebuild, TextsAreNeverCut) {
    const std::string hundred(100, 'c'), limit(1023, 'l'), longer(1500, 's');
    Load(Avi({InfoList({{"ICMT", hundred}, {"INAM", longer}, {"ICOP", "Caf\xE9"}}), Junk(1000)}));
    for (int row = 0; row < 3; ++row) {
        window.fields.Select(row);
        window.editor.Confirm();
        ASSERT_TRUE(window.dialog.OnEditField()) << row;
        EXPECT_EQ(window.Image(), loaded) << row;
    }
    EXPECT_EQ(window.editor.Calls()[1].text, longer);
    ASSERT_TRUE(window.Edit(0, "ICMT", limit));
    EXPECT_EQ(window.Image(), Avi({InfoList({{"ICMT", limit}, {"INAM", longer}, {"ICOP", "Caf\xE9"}}), Junk(78)}));
}

TEST_F(InfoRebuild, RowsWithoutAChunkAreNotEdited) {
    Load(Avi({InfoList({{"INAM", "Title"}}), N::Leaf("JUNK", "Made with Tool 2"), Junk(100)}));
    ASSERT_EQ(window.Rows(), (std::vector<std::string>{"INAM=Title", "JUNK=Made with Tool 2"}));
    window.fields.Select(1);
    ExpectRefused(window.dialog.OnEditField(), "Internal Error");
    EXPECT_EQ(window.LastMessage().text, "Field not editable");
}

TEST_F(InfoRebuild, JunkInOrAfterTheMovieListNeverGivesOrTakesSpace) {
    const N info = InfoList({{"INAM", "Title"}});
    for (const Bytes& file : {Riff({Header(), info, N::List("movi", {N::Leaf("00dc", "frame"), Junk(100)})}),
                              Riff({Header(), info, Movie(), Junk(100)})}) {
        Load(file);
        ExpectRefused(window.Edit(0, "INAM", "Fifteen letters"), kNoRoom);
        ExpectRefused(window.Edit(0, "INAM", "T"), kNoRoom);
        ExpectRefused(window.Delete(0), kNoRoom);
        ExpectRefused(window.New("ICMT", "ab"), kNoRoom);
    }
}

TEST_F(InfoRebuild, TargetTheRebuildNeverMeetsFails) {
    // IART's header takes the image's last 8 bytes: the walk lists it, the
    // rebuild stops before it.
    Bytes file = Riff({Junk(99946), InfoList({{"INAM", "Title"}, {"IART", "Artist"}})});
    ASSERT_EQ(file.compare(99992, 4, "IART"), 0);
    Load(file);
    loaded.resize(kImageCapacity);
    ASSERT_EQ(window.dialog.Report().rows.size(), 2u);
    ExpectRefused(window.Edit(1, "IART", "Artist"), kUnspecified);
    EXPECT_EQ(window.LastMessage().text, "Edit Failed. File will not be modified");
    ExpectRefused(window.Delete(1), kUnspecified);
}

TEST_F(InfoRebuild, ContainerItsChildrenDoNotFillIsNotRebuilt) {
    const N info = InfoList({{"INAM", "Title"}});
    Load(Avi({info, Junk(100)}));
    ASSERT_TRUE(window.Edit(0, "INAM", "T"));
    // A list after the movie list whose child leaves two bytes of it over.
    N stray = N::Leaf("LIST", "odd " + N::Leaf("abcd", "xy").ToBytes() + Bytes(2, '\0'));
    Load(Riff({Header(), info, Junk(100), Movie(), stray}));
    ExpectRefused(window.Edit(0, "INAM", "T"), kUnspecified);
}

TEST_F(InfoRebuild, RebuildNeverReachesPastTheLoadedBytes) {
    const Bytes whole = Avi({InfoList({{"INAM", "Title"}}), Junk(100)});
    // The movie list claims 3 bytes more than the file holds.
    Load(whole.substr(0, whole.size() - 3));
    ExpectRefused(window.Edit(0, "INAM", "T"), kNoRoom);
    EXPECT_EQ(window.dialog.WriteLength(), 0u);
    Load(whole);
    ASSERT_TRUE(window.Edit(0, "INAM", "T"));
    EXPECT_EQ(window.dialog.WriteLength(), whole.size());
}

}  // namespace
}  // namespace quibo::test
