// SPDX-License-Identifier: GPL-3.0-or-later
// One analysis of arbitrary bytes, opened by name as the window opens a file. An input of even length is a file of
// exactly its own length; one of odd length the start of a file 5 GiB longer, for the size checks of large files,
// whose rest is 0xFF bytes, as dense as movie data: a walk that reaches them meets an impossible size and stops, where
// zeros would be walked as thousands of empty chunks, slowly under the fuzzer's instrumentation.
#include "cli/collected_messages.h"
#include "tests/test_window.h"

namespace {

constexpr const char* kPath = "/fuzz/input.avi";
constexpr std::uint64_t kLargeFileTail = 5ull << 30;

// The window's state lives on from input to input, as it does from file to file while the user works.
struct Window {
    Window() {
        files.AddFromDisk(QUIBO_CODEC_DIR "/Quibo.dat");
        dialog.Start();
    }

    quibo::test::MemoryFiles files{false};
    quibo::test::MemoryFile& file = files.Add(kPath, "");
    quibo::CollectedMessages messages;
    quibo::test::ScriptedFileDialogs dialogs;
    quibo::RecordedFields fields;
    // A fixed set of installed decoders, so that a finding does not depend on the machine's libraries; one without a
    // name and one without a FourCC, as a platform may give them.
    quibo::test::ScriptedDecoders decoders{{{"MPEG-4 part 2", "XVID"}, {"MPEG-4 part 2", "DX50"},
                                            {"Motion JPEG", "MJPG"}, {std::nullopt, "H264"}, {"FFV1", std::nullopt}}};
    quibo::MainDialog dialog{{files, messages, dialogs, fields, nullptr, nullptr, nullptr, &decoders},
                             quibo::CodecDatabasePlaces(QUIBO_CODEC_DIR "/")};
};

void OpenByName(Window& window, std::uint64_t tailLength) {
    window.file.tailLength = tailLength;
    window.dialog.SetPendingFileName(kPath);
    window.dialog.OnFileOpen();
    window.messages.Clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Window window;
    window.file.tailByte = 0xFF;
    window.file.bytes.assign(reinterpret_cast<const char*>(data), size);
    OpenByName(window, size % 2 == 0 ? 0 : kLargeFileTail);
    return 0;
}
