// SPDX-License-Identifier: GPL-3.0-or-later
// Edit, Delete and New on crafted images, compared byte by byte with the file the edit should make: the space each edit
// frees or needs comes from the JUNK chunks after the field, and nothing else moves.

#include "test_window.h"

namespace quibo::test {
namespace {

const std::string kEditFailed = ": Edit Failed. File will not be modified";
const std::string kNoRoom = "No Room to Reorganize" + kEditFailed, kUnspecified = "Unspecified Error" + kEditFailed,
                  kInvalid = "Invalid Field Code" + kEditFailed, kNotEditable = "Internal Error: Field not editable",
                  kNoInsert = "Edit Failed: No Room to Insert. File will not be modified",
                  kDeleteName = "Confirm: Delete info node INAM (Name)?";
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
    more.insert(more.begin(), N::Leaf("avih", Bytes(56, '\0')));
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
// INAM `title` and IART, then `junk`.
Bytes Titled(const std::string& title, std::vector<N> junk) {
    junk.insert(junk.begin(), InfoList({{"INAM", title}, {"IART", "Artist"}}));
    return Avi(junk);
}

// One command on the open file: 'e' Edit of `row` to `code` and `text`, 'c' Edit confirmed as handed, 'd' Delete
// confirmed, 'x' Delete cancelled, 'n' New of `code` and `text`, 'q' New cancelled. `shown`: the last message it
// shows ("" none); `after`: the image it makes, or empty when it must leave everything as it was.
struct Step { char command; int row; std::string code, text, shown; Bytes after = {}; };
struct Case { const char* name; Bytes file; std::vector<Step> steps; };

TEST(InfoRebuild, EditsDeletesAndNewFieldsMakeTheExpectedImage) {
    const std::string hundred(100, 'c'), limit(1023, 'l'), longer(1500, 's');
    const N info = InfoList({{"INAM", "Title"}});
    const Bytes titled = Avi({info, Junk(100)});
    const N stream = N::List("strl", {N::Leaf("strh", Bytes(56, '\0')), Junk(200)});
    // A list whose first child is a list with its header at 99,992: that child's form type would lie just past the
    // image.
    auto atEnd = [](const char* title, const Bytes& junk) {
        return Riff({Header(), InfoList({{"INAM", title}}), N::Leaf("JUNK", junk),
                     N::List("abcd", {N::List("efgh", {N::Leaf("data", Bytes(64, 'd'))})}), Movie()});
    };
    // IART's header takes the image's last 8 bytes: the walk lists it, the rebuild stops before it.
    const Bytes lastHeader = Riff({Junk(99946), InfoList({{"INAM", "Title"}, {"IART", "Artist"}})});
    ASSERT_EQ(atEnd("Title", Filler(99858)).compare(99992, 4, "LIST"), 0);
    ASSERT_EQ(lastHeader.compare(99992, 4, "IART"), 0);
    const Bytes freed = Filler(100) + Bytes(14, '\0');
    const Bytes texts = Avi({InfoList({{"ICMT", hundred}, {"INAM", longer}, {"ICOP", "Caf\xE9"}}), Junk(1000)});
    // A list after the movie list whose child leaves two bytes of it over.
    const N stray = N::Leaf("LIST", "odd " + N::Leaf("abcd", "xy").ToBytes() + Bytes(2, '\0'));

    const Case cases[] = {
        {"same padded length", Titled("Titl", {Junk(100)}),
         {{'e', 0, "INAM", "Title", "", Titled("Title", {Junk(100)})}}},
        {"10 bytes shorter", Titled("Fifteen letters", {Junk(100)}),
         {{'e', 0, "INAM", "Title", "", Titled("Title", {N::Leaf("JUNK", Filler(100) + Bytes(10, '\0'))})}}},
        {"10 bytes longer", Titled("Title", {Junk(100)}),
         {{'e', 0, "INAM", "Fifteen letters", "", Titled("Fifteen letters", {Junk(90)})}}},
        // INAM 6 -> 20, the JUNK 100 -> 86.
        {"19 characters", Titled("Title", {Junk(100)}),
         {{'e', 0, "INAM", "Nineteen characters", "", Titled("Nineteen characters", {Junk(86)})}}},
        {"JUNK of 6, then another", Titled("Title", {Junk(6), Junk(20)}),
         {{'e', 0, "INAM", "Fifteen letters", "", Titled("Fifteen letters", {Junk(0), Junk(16)})}}},
        // The old field's pad byte is 'X'; the new one's is zero.
        {"odd text length", Avi({N::List("INFO", {N::Leaf("INAM", Bytes("Titl\0X", 6)).DeclaredSize(5)}), Junk(100)}),
         {{'e', 0, "INAM", "Abcd", "", Avi({InfoList({{"INAM", "Abcd"}}), Junk(100)})}}},
        {"no JUNK after the field: same padded length only", Avi({Junk(100), InfoList({{"INAM", "Titl"}})}),
         {{'e', 0, "INAM", "T", kNoRoom}, {'e', 0, "INAM", "Fifteen letters", kNoRoom},
          {'e', 0, "INAM", "Title", "", Avi({Junk(100), InfoList({{"INAM", "Title"}})})}}},
        {"Delete frees the whole declared footprint",
         Avi({N::List("INFO", {N::Leaf("INAM", Bytes("Title\0", 6) + Bytes(14, '\0')), N::Leaf("IART", "Artist")}),
              Junk(100)}),
         {{'x', 0, "", "", kDeleteName},
          {'d', 0, "", "", kDeleteName,
           Avi({N::List("INFO", {N::Leaf("IART", "Artist")}), N::Leaf("JUNK", Filler(100) + Bytes(28, '\0'))})}}},
        {"cancelled New without a list", Avi({Junk(100)}), {{'q', 0, "", "", ""}}},
        // The pad byte of "ab" is zero, not the 'l' the old image held there.
        {"New goes first", titled,
         {{'q', 0, "", "", ""},
          {'n', 0, "ICMT", "ab", "", Avi({InfoList({{"ICMT", "ab"}, {"INAM", "Title"}}), Junk(88)})}}},
        // Without an INFO list New lays one into a JUNK of at least 48 bytes where readers look for it: one in front
        // of the movie list before a larger one in the header list; never into a stream list or the movie list.
        {"JUNK of 47", Avi({Junk(47)}), {{'n', 0, "ICMT", "ab", kNoInsert}}},
        // 48 holds the list; the 16 bytes left must take the new field.
        {"JUNK of 48, long text", Avi({Junk(48)}), {{'n', 0, "ICMT", "ten letter", kNoRoom}}},
        {"JUNK of 48", Avi({Junk(48)}), {{'n', 0, "ICMT", "ab", "", Avi({kQuiboList, Junk(4)})}}},
        {"largest JUNK in the header list", Riff({Header({Junk(64)}), Junk(20), Movie()}),
         {{'n', 0, "ICMT", "ab", "", Riff({Header({kQuiboList, Junk(20)}), Junk(20), Movie()})}}},
        {"JUNK before the movie list first", Riff({Header({Junk(200)}), Junk(64), Movie()}),
         {{'n', 0, "ICMT", "ab", "", Riff({Header({Junk(200)}), kQuiboList, Junk(20), Movie()})}}},
        {"JUNK in a stream list", Riff({Header({stream}), Junk(20), Movie()}), {{'n', 0, "ICMT", "ab", kNoInsert}}},
        {"JUNK in the movie list", Riff({Header(), N::List("movi", {N::Leaf("00dc", "frame"), Junk(100)})}),
         {{'n', 0, "ICMT", "ab", kNoRoom}}},
        // The template's move left the JUNK's first 24 data bytes in front of its bytes from 56 on.
        {"JUNK of 100", Avi({Junk(100)}),
         {{'n', 0, "ICMT", "ab", "", Avi({kQuiboList, N::Leaf("JUNK", Filler(24) + Filler(100).substr(56, 32))})}}},
        // The JUNK takes the 4 bytes freed.
        {"lists at the image end are not read past it", atEnd("Title", Filler(99858)),
         {{'e', 0, "INAM", "T", "", atEnd("T", Filler(99858) + Bytes(4, '\0')).substr(0, kImageCapacity)}}},
        // A field named like a chunk list would be walked as one, and the file would no longer open; letter case
        // makes another, ordinary code.
        {"chunk list names as field codes", titled,
         {{'n', 0, "LIST", "hdrlmovie", kInvalid}, {'e', 0, "LIST", "Title", kInvalid},
          {'n', 0, "RIFF", "hdrlmovie", kInvalid}, {'e', 0, "RIFF", "Title", kInvalid},
          {'n', 0, "list", "ab", "", Avi({InfoList({{"list", "ab"}, {"INAM", "Title"}}), Junk(88)})}}},
        // A new list laid into a JUNK for the refused field is taken out again.
        {"chunk list name in a new list", Avi({Junk(100)}), {{'n', 0, "LIST", "ab", kInvalid}}},
        {"the only field deleted, New skips the empty list", titled,
         {{'d', 0, "", "", kDeleteName, Avi({N::List("INFO"), N::Leaf("JUNK", freed)})},
          {'n', 0, "ICMT", "ab", "",
           Avi({N::List("INFO"), kQuiboList, N::Leaf("JUNK", freed.substr(0, 24) + freed.substr(56, 46))})}}},
        {"texts are never cut", texts,
         {{'c', 0, "", "", "", texts}, {'c', 1, "", "", "", texts}, {'c', 2, "", "", "", texts},
          {'e', 0, "ICMT", limit, "",
           Avi({InfoList({{"ICMT", limit}, {"INAM", longer}, {"ICOP", "Caf\xE9"}}), Junk(78)})}}},
        {"a row without a chunk", Avi({info, N::Leaf("JUNK", "Made with Tool 2"), Junk(100)}),
         {{'e', 1, "JUNK", "x", kNotEditable}}},
        {"JUNK in the movie list gives no space",
         Riff({Header(), info, N::List("movi", {N::Leaf("00dc", "frame"), Junk(100)})}),
         {{'e', 0, "INAM", "Fifteen letters", kNoRoom}, {'e', 0, "INAM", "T", kNoRoom}, {'d', 0, "", "", kNoRoom},
          {'n', 0, "ICMT", "ab", kNoRoom}}},
        {"JUNK after the movie list gives no space", Riff({Header(), info, Movie(), Junk(100)}),
         {{'e', 0, "INAM", "Fifteen letters", kNoRoom}, {'e', 0, "INAM", "T", kNoRoom}, {'d', 0, "", "", kNoRoom},
          {'n', 0, "ICMT", "ab", kNoRoom}}},
        {"target the rebuild never meets", lastHeader,
         {{'e', 1, "IART", "Artist", kUnspecified}, {'d', 1, "", "", kUnspecified}}},
        {"container its children do not fill", Riff({Header(), info, Junk(100), Movie(), stray}),
         {{'e', 0, "INAM", "T", kUnspecified}}},
        // The movie list claims 3 bytes more than the file holds: the rebuild would reach past it.
        {"cut file", titled.substr(0, titled.size() - 3), {{'e', 0, "INAM", "T", kNoRoom}}},
        {"whole file", titled,
         {{'e', 0, "INAM", "T", "", Avi({InfoList({{"INAM", "T"}}), N::Leaf("JUNK", Filler(100) + Bytes(4, '\0'))})}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow<MemoryFiles> window;
        window.files.Add("/data/edit.avi", c.file);
        window.OpenByName("/data/edit.avi");
        const Bytes loaded = window.Image();
        EXPECT_FALSE(window.dialog.IsCommandEnabled(command::kSave));
        for (const Step& step : c.steps) {
            SCOPED_TRACE(testing::Message() << step.command << " " << step.row << " " << step.code);
            // What a refused command leaves as it was.
            auto state = [&] {
                return std::tuple(window.Image(), window.Rows(), window.dialog.WriteLength(),
                                  window.dialog.ImageModified(), window.dialog.IsCommandEnabled(command::kSave));
            };
            const auto before = state();
            const std::size_t shown = window.messages.shown.size(), asked = window.editor.calls.size();
            // The editor cancels and the Delete question is answered OK unless told otherwise.
            window.fields.Select(step.row);
            if (step.command == 'e' || step.command == 'n') window.editor.Answer(step.code, step.text);
            if (step.command == 'c') window.editor.Confirm();
            if (step.command == 'x') window.messages.Answer(MessageAnswer::Cancel);
            const bool committed = step.command == 'e' || step.command == 'c'   ? window.dialog.OnEditField()
                                   : step.command == 'd' || step.command == 'x' ? window.dialog.OnDeleteField()
                                                                                : window.dialog.OnNewField();
            window.editor.ForgetUnused();
            EXPECT_EQ(window.messages.shown.size() > shown ? window.Shown().back() : "", step.shown);
            // The editor is asked for Edit and New, unless the row or the file has no room for it.
            const bool edits = std::string("ecnq").find(step.command) != std::string::npos;
            ASSERT_EQ(window.editor.calls.size(), asked + (edits && step.shown != kNoInsert &&
                                                             step.shown != kNotEditable));
            if ((step.command == 'n' || step.command == 'q') && step.shown != kNoInsert) {
                const auto& call = window.editor.calls.back();
                EXPECT_EQ(call.code + "=" + call.text, "----=");
                EXPECT_EQ(call.mode, InfoEditKind::Insert);
            }
            if (!step.after.empty()) {
                ASSERT_TRUE(committed);
                EXPECT_TRUE(window.Image() == step.after);
                EXPECT_TRUE(window.dialog.ImageModified() && window.dialog.IsCommandEnabled(command::kSave));
                // The save writes every changed byte and nothing past the loaded ones.
                const std::size_t end = window.dialog.WriteLength();
                EXPECT_LE(end, loaded.size());
                EXPECT_TRUE(window.Image().compare(end, Bytes::npos, loaded, end) == 0) << end;
                continue;
            }
            EXPECT_FALSE(committed);
            EXPECT_TRUE(state() == before);
        }
        EXPECT_TRUE(window.dialog.FileAnalysed());
    }
}

}  // namespace
}  // namespace quibo::test
