// SPDX-License-Identifier: GPL-3.0-or-later
// Random sequences of INFO edits, deletes and additions on AVI files made by ffmpeg and mencoder, each saved in place.
// After every save the file keeps its length, its movie list and every byte past the written part, shows exactly the
// intended rows when analysed afresh, and decodes with no error it did not have before.
#include <random>
#include <regex>

#include "info/new_info_list.h"
#include "test_window.h"

namespace quibo::test {
namespace {

constexpr int kSteps = 14;
const char* const kCodes[] = {"INAM", "IART", "ICMT", "ICOP", "IGNR", "ISBJ", "IKEY", "ISMP"};

// What ffmpeg reports while decoding the whole file, addresses left out.
std::string DecodeErrors(const std::string& path) {
    const std::string output = RunProgram("ffmpeg -nostdin -v error -i " + Quoted(path) + " -f null -").err;
    return std::regex_replace(output, std::regex("0x[0-9a-f]+"), "0x");
}

// Printable text, mostly short, now and then too long for the JUNK left.
std::string RandomText(std::mt19937& random) {
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    int kind = below(20);
    int length = kind < 13 ? below(41) : kind < 17 ? 41 + below(260) : 600 + below(424);
    std::string text;
    for (int i = 0; i < length; ++i) text += static_cast<char>(' ' + below(95));
    return text;
}

using Window = TestWindow<PosixFileAccess>;

// The INFO rows as "CODE=contents", JUNK text left out.
std::vector<std::string> FieldRows(const Window& window) {
    std::vector<std::string> rows = window.Rows();
    std::erase_if(rows, [](const std::string& row) { return row.starts_with("JUNK="); });
    return rows;
}

void EditAndSaveAtRandom(const std::string& path, std::uint32_t seed) {
    SCOPED_TRACE(path + ", sequence seed " + std::to_string(seed));
    std::mt19937 random(seed);
    auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    const Bytes original = ReadAll(path);
    ASSERT_FALSE(MovieList(original).empty());
    const std::string decodeErrors = DecodeErrors(path);
    Window window;
    window.OpenByName(path);
    ASSERT_TRUE(window.dialog.FileAnalysed());
    std::vector<std::string> model = FieldRows(window);
    Bytes onDisk = original;
    int saves = 0;

    for (int step = 0; step < kSteps; ++step) {
        const Bytes before = window.Image();
        // Dialog rows that are fields, in model order.
        const std::vector<InfoRow>& rows = window.dialog.Report().rows;
        std::vector<int> fieldRows;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].code != "JUNK") fieldRows.push_back(static_cast<int>(i));
        ASSERT_EQ(fieldRows.size(), model.size());

        std::string code = kCodes[below(std::size(kCodes))];
        std::string text = RandomText(random);
        std::vector<std::string> expected = model;
        const std::size_t choice = model.empty() ? 2 : below(3), k = model.empty() ? 0 : below(model.size());
        bool committed = false;
        if (choice == 0) {
            if (below(2) == 0) code = rows[fieldRows[k]].code;
            expected[k] = code + "=" + text;
            committed = window.Edit(fieldRows[k], code, text);
        } else if (choice == 1) {
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(k));
            committed = window.Delete(fieldRows[k]);
        } else {
            // In front of the first INFO field, or in a new list in the largest JUNK.
            const StreamFacts& facts = window.dialog.Facts();
            std::size_t anchor =
                facts.firstInfoChunk.value_or(JunkForNewInfoList(facts, window.dialog.FileImage()).value_or(0));
            std::size_t at = 0;
            for (int i : fieldRows) at += rows[i].location.value_or(0) < anchor;
            expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), code + "=" + text);
            if (!facts.firstInfoChunk)
                expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at + 1), "ISFT=Quibo v1.1");
            committed = window.New(code, text);
        }
        SCOPED_TRACE("step " + std::to_string(step) + ", operation " + std::to_string(choice) + ", " + code + "=" +
                     std::to_string(text.size()) + " characters");
        if (!committed) {
            std::string caption = window.LastMessage().caption;
            EXPECT_TRUE(caption == "No Room to Reorganize" || caption == "Edit Failed") << caption;
            EXPECT_TRUE(window.Image() == before) << "the image changed";
            EXPECT_FALSE(window.dialog.ImageModified());
            EXPECT_EQ(FieldRows(window), model);
            continue;
        }
        model = expected;
        EXPECT_EQ(FieldRows(window), model);
        window.dialog.ConfirmAndWrite();
        ASSERT_EQ(window.Status(), "Update successful");
        ++saves;

        const Bytes now = ReadAll(path);
        ASSERT_EQ(SaveProblem(onDisk, now, window.Image(), window.dialog.WriteLength()), "");
        onDisk = now;

        Window fresh;
        fresh.OpenByName(path);
        EXPECT_EQ(FieldRows(fresh), model);
        EXPECT_EQ(DecodeErrors(path), decodeErrors);
    }
    // A sequence that never saved would have tested nothing.
    EXPECT_GT(saves, kSteps / 3);
}

// An ffmpeg file longer than the image, and mencoder's remuxes of it with and without audio, each its own sequence.
TEST(EditProperty, FilesOfEachWriter) {
    if (!HaveTool("ffmpeg") || !HaveTool("mencoder")) GTEST_SKIP() << "ffmpeg or mencoder is not installed";
    // The seed of the random sequences: QUIBO_EDIT_SEED, else a fixed one.
    const char* given = std::getenv("QUIBO_EDIT_SEED");
    const std::uint32_t seed = given ? static_cast<std::uint32_t>(std::strtoul(given, nullptr, 10)) : 20240605u;
    std::printf("QUIBO_EDIT_SEED=%u\n", seed);
    testing::Test::RecordProperty("seed", std::to_string(seed));
    TempDir dir;
    const std::string ffmpeg = dir / "ffmpeg.avi", silent = dir / "silent.avi", mp3 = dir / "mp3.avi";
    ASSERT_TRUE(RunQuietly("ffmpeg -y -f lavfi -i testsrc=size=320x240:rate=25:duration=3 -f lavfi -i sine=duration=3"
                           " -c:v mpeg4 -c:a libmp3lame -metadata title='Quibo Title' -metadata artist='Quibo Artist'"
                           " -metadata comment='Quibo comment' " + Quoted(ffmpeg)));
    ASSERT_GT(ReadAll(ffmpeg).size(), kImageCapacity);
    ASSERT_TRUE(RunQuietly("mencoder " + Quoted(ffmpeg) + " -ovc lavc -lavcopts vcodec=mpeg4 -nosound -info "
                           "name='Menc Title':artist='Menc Artist':comment='Menc comment' -o " + Quoted(silent)));
    ASSERT_TRUE(RunQuietly("mencoder " + Quoted(ffmpeg) + " -ovc lavc -lavcopts vcodec=mpeg4 -oac mp3lame -info "
                           "name='Menc Title' -o " + Quoted(mp3)));
    std::uint32_t sequence = seed;
    for (const std::string& path : {ffmpeg, silent, mp3}) EditAndSaveAtRandom(path, sequence++);
}

}  // namespace
}  // namespace quibo::test
