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

// JUNK filler whose bytes tell where they came from and are never text.
Bytes Filler(std::size_t size) {
    Bytes bytes;
    for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>(0x80 + i % 97);
    return bytes;
}

N Junk(std::size_t size) { return N::Leaf("JUNK", Filler(size)); }

N Movie() { return N::List("movi", {N::Leaf("00dc", "frame"), N::Leaf("01wb", "AUD1")}); }

// An AVI: a header list, the given chunks, then the movie list.
Bytes Avi(std::vector<N> middle) {
    std::vector<N> children{N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0'))})};
    children.insert(children.end(), middle.begin(), middle.end());
    children.push_back(Movie());
    return N::Riff("AVI ", children).ToBytes();
}

class InfoRebuild : public testing::Test {
protected:
    void Load(const Bytes& bytes) {
        window.files.Add(kPath, bytes);
        window.OpenByName(kPath);
        ASSERT_TRUE(window.dialog.FileAnalysed());
        loaded = bytes;
    }
    // The last command failed with `caption` and left everything as loaded.
    void ExpectRefused(const std::string& caption) {
        EXPECT_EQ(window.LastMessage().caption, caption);
        EXPECT_EQ(window.Image(), loaded);
        EXPECT_FALSE(window.dialog.ImageModified());
        EXPECT_FALSE(window.dialog.IsCommandEnabled(command::kSave));
    }

    TestWindow<MemoryFiles> window;
    Bytes loaded;
};

TEST_F(InfoRebuild, LongerTitleTakesItsBytesFromTheJunkBehindIt) {
    Load(Avi({InfoList({{"INAM", "Title"}}), Junk(100)}));
    ASSERT_TRUE(window.Edit(0, "INAM", "Nineteen characters"));
    // INAM 6 -> 20, the INFO list 18 -> 32, the JUNK 100 -> 86.
    EXPECT_EQ(window.Image(), Avi({InfoList({{"INAM", "Nineteen characters"}}), N::Leaf("JUNK", Filler(86))}));
    EXPECT_EQ(window.dialog.WriteLength(), loaded.size());
    EXPECT_TRUE(window.dialog.ImageModified());
    EXPECT_EQ(window.Rows(), std::vector<std::string>{"INAM=Nineteen characters"});
    ASSERT_EQ(window.editor.Calls().size(), 1u);
    EXPECT_EQ(window.editor.Calls()[0].text, "Title");
    EXPECT_EQ(window.editor.Calls()[0].code, "INAM");
}

TEST_F(InfoRebuild, FollowingJunkGivesOrTakesTheDifference) {
    struct Case {
        const char* name;
        std::string from, to;
        std::vector<N> junkBefore, junkAfter;
    };
    const Case cases[] = {
        {"same padded length", "Titl", "Title", {Junk(100)}, {Junk(100)}},
        {"10 bytes shorter", "Fifteen letters", "Title", {Junk(100)},
         {N::Leaf("JUNK", Filler(100) + Bytes(10, '\0'))}},
        {"10 bytes longer", "Title", "Fifteen letters", {Junk(100)}, {Junk(90)}},
        {"JUNK of 6, then another", "Title", "Fifteen letters", {Junk(6), Junk(20)}, {Junk(0), Junk(16)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<N> before{InfoList({{"INAM", c.from}, {"IART", "Artist"}})};
        before.insert(before.end(), c.junkBefore.begin(), c.junkBefore.end());
        std::vector<N> after{InfoList({{"INAM", c.to}, {"IART", "Artist"}})};
        after.insert(after.end(), c.junkAfter.begin(), c.junkAfter.end());
        Load(Avi(before));
        ASSERT_TRUE(window.Edit(0, "INAM", c.to));
        EXPECT_EQ(window.Image(), Avi(after));
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
    for (const std::string text : {"T", "Fifteen letters"}) {
        EXPECT_FALSE(window.Edit(0, "INAM", text));
        ExpectRefused(kNoRoom);
    }
    EXPECT_TRUE(window.Edit(0, "INAM", "Title"));
    EXPECT_EQ(window.Image(), Avi({Junk(100), InfoList({{"INAM", "Title"}})}));
}

TEST_F(InfoRebuild, DeleteFreesTheWholeDeclaredFootprint) {
    Load(Avi({N::List("INFO", {N::Leaf("INAM", Bytes("Title\0", 6) + Bytes(14, '\0')), N::Leaf("IART", "Artist")}),
              Junk(100)}));
    window.fields.Select(0);
    window.messages.Answer(MessageAnswer::Cancel);
    EXPECT_FALSE(window.dialog.OnDeleteField());
    ASSERT_EQ(window.messages.Shown().size(), 1u);
    EXPECT_EQ(window.messages.Shown()[0].text, "Delete info node INAM (Name)?");
    EXPECT_EQ(window.messages.Shown()[0].caption, "Confirm");
    EXPECT_EQ(window.Image(), loaded);

    ASSERT_TRUE(window.Delete(0));
    EXPECT_EQ(window.Image(), Avi({N::List("INFO", {N::Leaf("IART", "Artist")}),
                                   N::Leaf("JUNK", Filler(100) + Bytes(28, '\0'))}));
    EXPECT_TRUE(window.editor.Calls().empty());
}

TEST_F(InfoRebuild, NewGoesFirstIntoTheInfoList) {
    Load(Avi({InfoList({{"INAM", "Title"}}), Junk(100)}));
    window.editor.Cancel();
    EXPECT_FALSE(window.dialog.OnNewField());
    EXPECT_EQ(window.Image(), loaded);
    // The pad byte of "ab" is zero, not the 'l' the old image held there.
    ASSERT_TRUE(window.New("ICMT", "ab"));
    EXPECT_EQ(window.Image(), Avi({InfoList({{"ICMT", "ab"}, {"INAM", "Title"}}), Junk(88)}));
    ASSERT_EQ(window.editor.Calls().size(), 2u);
    EXPECT_EQ(window.editor.Calls()[1].code, "----");
    EXPECT_EQ(window.editor.Calls()[1].text, "");
    EXPECT_EQ(window.editor.Calls()[1].mode, InfoEditKind::Insert);
}

TEST_F(InfoRebuild, NewWithoutInfoListNeedsAJunkOf48) {
    const N quibo = InfoList({{"ICMT", "ab"}, {"ISFT", "Quibo v1.1"}});
    Load(Avi({Junk(47)}));
    EXPECT_FALSE(window.New("ICMT", "ab"));
    EXPECT_EQ(window.LastMessage().text, "No Room to Insert. File will not be modified");
    ExpectRefused("Edit Failed");
    EXPECT_TRUE(window.editor.Calls().empty());

    // 48 holds the list; the 16 bytes left must take the new field.
    Load(Avi({Junk(48)}));
    EXPECT_FALSE(window.New("ICMT", "ten letter"));
    ExpectRefused(kNoRoom);
    EXPECT_TRUE(window.Rows().empty());
    ASSERT_TRUE(window.New("ICMT", "ab"));
    EXPECT_EQ(window.Image(), Avi({quibo, Junk(4)}));
    EXPECT_EQ(window.Rows(), (std::vector<std::string>{"ICMT=ab", "ISFT=Quibo v1.1"}));

    // The largest JUNK may lie in the header list.
    Load(N::Riff("AVI ", {N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0')), Junk(64)}), Junk(20), Movie()})
             .ToBytes());
    ASSERT_TRUE(window.New("ICMT", "ab"));
    EXPECT_EQ(window.Image(),
              N::Riff("AVI ", {N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0')), quibo, Junk(20)}), Junk(20), Movie()})
                  .ToBytes());
}

// A new list goes where readers look for it: a JUNK in front of the movie
// list before a larger one in the header list; never into a stream list.
TEST_F(InfoRebuild, NewListGoesWhereOtherProgramsReadIt) {
    const N quibo = InfoList({{"ICMT", "ab"}, {"ISFT", "Quibo v1.1"}});
    const N avih = N::Leaf("avih", Bytes(56, '\0'));
    const N strh = N::Leaf("strh", Bytes(56, '\0'));
    Load(N::Riff("AVI ", {N::List("hdrl", {avih, Junk(200)}), Junk(64), Movie()}).ToBytes());
    ASSERT_TRUE(window.New("ICMT", "ab"));
    EXPECT_EQ(window.Image(), N::Riff("AVI ", {N::List("hdrl", {avih, Junk(200)}), quibo, Junk(20), Movie()}).ToBytes());

    Load(N::Riff("AVI ", {N::List("hdrl", {avih, N::List("strl", {strh, Junk(200)})}), Junk(20), Movie()}).ToBytes());
    EXPECT_FALSE(window.New("ICMT", "ab"));
    EXPECT_EQ(window.LastMessage().text, "No Room to Insert. File will not be modified");
    ExpectRefused("Edit Failed");
}

// A list whose first child is a list with its header at 99,992: that
// child's form type would lie just past the image.
TEST_F(InfoRebuild, ListsAtTheImageEndAreNotReadPastIt) {
    auto file = [](const char* title, const Bytes& junk) {
        return N::Riff("AVI ", {N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0'))}), InfoList({{"INAM", title}}),
                                N::Leaf("JUNK", junk),
                                N::List("abcd", {N::List("efgh", {N::Leaf("data", Bytes(64, 'd'))})}), Movie()})
            .ToBytes();
    };
    const Bytes before = file("Title", Filler(99858));
    ASSERT_EQ(before.compare(99992, 4, "LIST"), 0);
    Load(before);
    ASSERT_TRUE(window.Edit(0, "INAM", "T"));
    // The JUNK takes the 4 bytes freed.
    EXPECT_TRUE(window.Image() == file("T", Filler(99858) + Bytes(4, '\0')).substr(0, kImageCapacity));
}

TEST_F(InfoRebuild, CancelledNewLeavesNoTrace) {
    Load(Avi({Junk(100)}));
    window.editor.Cancel();
    EXPECT_FALSE(window.dialog.OnNewField());
    EXPECT_EQ(window.Image(), loaded);
    EXPECT_TRUE(window.Rows().empty());
    EXPECT_FALSE(window.dialog.ImageModified());
    // The template's move left the JUNK's first 24 data bytes in front of
    // its bytes from 56 on.
    ASSERT_TRUE(window.New("ICMT", "ab"));
    EXPECT_EQ(window.Image(), Avi({InfoList({{"ICMT", "ab"}, {"ISFT", "Quibo v1.1"}}),
                                   N::Leaf("JUNK", Filler(24) + Filler(100).substr(56, 32))}));
}

// A field named like a chunk list would be walked as one, and the file
// would no longer open: neither an edit nor a new field may take the name.
TEST_F(InfoRebuild, ChunkListNamesAreRefusedAsFieldCodes) {
    Load(Avi({InfoList({{"INAM", "Title"}}), Junk(100)}));
    for (const char* code : {"LIST", "RIFF"}) {
        EXPECT_FALSE(window.New(code, "hdrlmovie"));
        ExpectRefused("Invalid Field Code");
        EXPECT_FALSE(window.Edit(0, code, "Title"));
        ExpectRefused("Invalid Field Code");
    }
    EXPECT_EQ(window.LastMessage().text, "Edit Failed. File will not be modified");
    // Letter case makes another, ordinary code.
    ASSERT_TRUE(window.New("list", "ab"));
    EXPECT_TRUE(window.dialog.FileAnalysed());

    // A new list laid into a JUNK for the refused field is taken out again.
    Load(Avi({Junk(100)}));
    EXPECT_FALSE(window.New("LIST", "ab"));
    ExpectRefused("Invalid Field Code");
}

TEST_F(InfoRebuild, DeletingTheOnlyFieldLeavesAnEmptyListThatNewSkips) {
    Load(Avi({InfoList({{"INAM", "Title"}}), Junk(100)}));
    ASSERT_TRUE(window.Delete(0));
    const Bytes freed = Filler(100) + Bytes(14, '\0');
    EXPECT_EQ(window.Image(), Avi({N::List("INFO"), N::Leaf("JUNK", freed)}));
    ASSERT_TRUE(window.New("ICMT", "ab"));
    EXPECT_EQ(window.Image(), Avi({N::List("INFO"), InfoList({{"ICMT", "ab"}, {"ISFT", "Quibo v1.1"}}),
                                   N::Leaf("JUNK", freed.substr(0, 24) + freed.substr(56, 46))}));
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
    EXPECT_FALSE(window.dialog.OnEditField());
    EXPECT_EQ(window.LastMessage().text, "Field not editable");
    ExpectRefused("Internal Error");
}

TEST_F(InfoRebuild, JunkInOrAfterTheMovieListNeverGivesOrTakesSpace) {
    const N header = N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0'))});
    const N info = InfoList({{"INAM", "Title"}});
    const Bytes files[] = {
        N::Riff("AVI ", {header, info, N::List("movi", {N::Leaf("00dc", "frame"), Junk(100)})}).ToBytes(),
        N::Riff("AVI ", {header, info, Movie(), Junk(100)}).ToBytes(),
    };
    for (const Bytes& file : files) {
        Load(file);
        EXPECT_FALSE(window.Edit(0, "INAM", "Fifteen letters"));
        ExpectRefused(kNoRoom);
        EXPECT_FALSE(window.Edit(0, "INAM", "T"));
        ExpectRefused(kNoRoom);
        EXPECT_FALSE(window.Delete(0));
        ExpectRefused(kNoRoom);
        EXPECT_FALSE(window.New("ICMT", "ab"));
        ExpectRefused(kNoRoom);
    }
    // Without an INFO list the largest JUNK, inside "movi", takes no list.
    Load(N::Riff("AVI ", {header, N::List("movi", {N::Leaf("00dc", "frame"), Junk(100)})}).ToBytes());
    EXPECT_FALSE(window.New("ICMT", "ab"));
    ExpectRefused(kNoRoom);
}

TEST_F(InfoRebuild, TargetTheRebuildNeverMeetsFails) {
    // IART's header takes the image's last 8 bytes: the walk lists it, the
    // rebuild stops before it.
    Bytes file = N::Riff("AVI ", {Junk(99946), InfoList({{"INAM", "Title"}, {"IART", "Artist"}})}).ToBytes();
    ASSERT_EQ(file.compare(99992, 4, "IART"), 0);
    Load(file);
    ASSERT_EQ(window.dialog.Report().rows.size(), 2u);
    EXPECT_FALSE(window.Edit(1, "IART", "Artist"));
    EXPECT_EQ(window.LastMessage().text, "Edit Failed. File will not be modified");
    loaded.resize(kImageCapacity);
    ExpectRefused(kUnspecified);
    EXPECT_FALSE(window.Delete(1));
    ExpectRefused(kUnspecified);
}

TEST_F(InfoRebuild, ContainerItsChildrenDoNotFillIsNotRebuilt) {
    const std::vector<N> fields{InfoList({{"INAM", "Title"}}), Junk(100)};
    Load(Avi(fields));
    ASSERT_TRUE(window.Edit(0, "INAM", "T"));
    // A list after the movie list whose child leaves two bytes of it over.
    N stray = N::Leaf("LIST", "odd " + N::Leaf("abcd", "xy").ToBytes() + Bytes(2, '\0'));
    Load(N::Riff("AVI ", {N::List("hdrl", {N::Leaf("avih", Bytes(56, '\0'))}), fields[0], fields[1], Movie(), stray})
             .ToBytes());
    EXPECT_FALSE(window.Edit(0, "INAM", "T"));
    ExpectRefused(kUnspecified);
}

TEST_F(InfoRebuild, RebuildNeverReachesPastTheLoadedBytes) {
    const Bytes whole = Avi({InfoList({{"INAM", "Title"}}), Junk(100)});
    // The movie list claims 3 bytes more than the file holds.
    Load(whole.substr(0, whole.size() - 3));
    EXPECT_FALSE(window.Edit(0, "INAM", "T"));
    ExpectRefused(kNoRoom);
    EXPECT_EQ(window.dialog.WriteLength(), 0u);
    Load(whole);
    ASSERT_TRUE(window.Edit(0, "INAM", "T"));
    EXPECT_EQ(window.dialog.WriteLength(), whole.size());
}

}  // namespace
}  // namespace quibo::test
