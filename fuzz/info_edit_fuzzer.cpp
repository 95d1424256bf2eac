// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary sequences of INFO edits, deletes, new fields and FourCC changes on an arbitrary file, through the
// window's own commands, saved in place after any edit the script chooses and at the end, into a real file held in
// memory (memfd). After every committed edit the image must still analyse; after every save the file must start with
// the edited image, keep its length, every byte from the written length on and its movie list, and show the same rows
// when opened afresh. A save over a file changed since it was read must leave it exactly as it is.
// Input: the file's bytes, the edit script, then one byte L: the script is the 8 * L bytes before L (a bare AVI file
// is a valid input too). The script may first lengthen the file past the image, so that edits meet larger files too.
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>

#include <string_view>

#include "tests/test_window.h"

namespace {

using Window = quibo::test::TestWindow<quibo::PosixFileAccess>;

constexpr std::size_t kLongerThanImage = quibo::kImageCapacity + 50000;

void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "info_edit_fuzzer: %s\n", what);
    std::abort();
}

// A regular file that lives in memory, named by its /proc path.
class MemoryBackedFile {
public:
    MemoryBackedFile() : fd_(::memfd_create("quibo-fuzz", MFD_CLOEXEC)) { Require(fd_ >= 0, "memfd_create failed"); }
    ~MemoryBackedFile() { ::close(fd_); }
    MemoryBackedFile(const MemoryBackedFile&) = delete;
    MemoryBackedFile& operator=(const MemoryBackedFile&) = delete;

    // Lengthens the file to `length` with 0xFF bytes, as dense as movie data: a walk meets an impossible size
    // there and stops, where zeros would be walked as thousands of empty chunks, slowly under instrumentation.
    void ExtendTo(std::size_t length) {
        static const std::string kDense(kLongerThanImage, '\xFF');
        const auto end = static_cast<std::size_t>(::lseek(fd_, 0, SEEK_END));
        const std::size_t count = length - end;
        Require(::pwrite(fd_, kDense.data(), count, static_cast<off_t>(end)) == static_cast<ssize_t>(count),
                "pwrite failed");
    }
    // Makes the file hold exactly `bytes`, as another program might.
    void Rewrite(std::string_view bytes) {
        Require(::pwrite(fd_, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()) &&
                    ::ftruncate(fd_, static_cast<off_t>(bytes.size())) == 0,
                "rewrite failed");
    }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }
    // Reads the whole file into `bytes`, whose storage is reused.
    void ReadInto(std::string& bytes) const {
        bytes.resize(static_cast<std::size_t>(::lseek(fd_, 0, SEEK_END)));
        Require(::pread(fd_, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()), "pread failed");
    }

private:
    int fd_;
};

// The file before and after a save, the edited image and a file changed by another program; kept from input to
// input, with the file, so that no execution allocates and zero-fills them afresh.
struct Copies {
    std::string before, after, image, changed;
};

// Saves in place and checks the file against its bytes before the save.
void SaveAndCheck(Window& window, const MemoryBackedFile& file, Copies& copies) {
    file.ReadInto(copies.before);
    const std::vector<std::string> shown = window.Rows();
    const std::size_t written = window.dialog.WriteLength();
    copies.image.assign(reinterpret_cast<const char*>(window.dialog.FileImage()), window.dialog.LoadedLength());

    window.dialog.ConfirmAndWrite();
    Require(!window.dialog.ImageModified(), "the save failed");
    file.ReadInto(copies.after);
    const std::string problem = quibo::test::SaveProblem(copies.before, copies.after, copies.image, written);
    Require(problem.empty(), problem.c_str());

    window.OpenByName(file.Path());
    Require(window.dialog.FileAnalysed(), "the saved file does not analyse");
    Require(window.Rows() == shown, "the saved file shows other rows than the edited image");
}

// Another program changes one byte of the start the window read, or lengthens the file, before a save: the save
// must write nothing. The file is then put back as it was.
void SaveOverChangedFileIsRefused(Window& window, MemoryBackedFile& file, std::size_t at, Copies& copies) {
    file.ReadInto(copies.before);
    std::string& changed = copies.changed;
    changed = copies.before;
    if (at < window.dialog.LoadedLength()) changed[at] = static_cast<char>(changed[at] ^ 1);
    else changed += '\0';
    file.Rewrite(changed);
    Require(!window.dialog.ConfirmAndWrite(), "a save over a changed file succeeded");
    Require(window.dialog.ImageModified(), "a refused save dropped the edits");
    file.ReadInto(copies.after);
    Require(copies.after == changed, "a refused save changed the file");
    file.Rewrite(copies.before);
}

// Runs one step of the script; true when it committed an edit.
bool RunStep(Window& window, FuzzedDataProvider& script) {
    const int rows = static_cast<int>(window.fields.Rows().size());
    auto row = [&] { return script.ConsumeIntegralInRange<int>(-1, rows); };
    auto text = [&] { return script.ConsumeRandomLengthString(1100); };
    switch (script.ConsumeIntegralInRange<int>(0, 6)) {
        case 0:
            return window.Edit(row(), script.ConsumeBytesAsString(4), text());
        case 1:
            return window.Delete(row());
        case 2:
            return window.New(script.ConsumeBytesAsString(4), text());
        case 3: {  // Edit, and the editor is cancelled
            window.fields.Select(row());
            window.editor.Cancel();
            return window.dialog.OnEditField();
        }
        case 4: {  // Delete, and the question is cancelled
            window.fields.Select(row());
            window.messages.Answer(quibo::MessageAnswer::Cancel);
            return window.dialog.OnDeleteField();
        }
        case 5:
            return window.dialog.ChangeVideoFourCC(
                script.ConsumeBytesAsString(4), static_cast<quibo::FourCCFields>(script.ConsumeIntegralInRange(0, 2)));
        default:
            window.dialog.OnViewRefresh();
            return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t scriptLength = std::min<std::size_t>(size - 1, 8u * data[size - 1]);
    const std::size_t fileLength = size - 1 - scriptLength;
    FuzzedDataProvider script(data + fileLength, scriptLength);

    static MemoryBackedFile file;
    static Copies copies;
    file.Rewrite({reinterpret_cast<const char*>(data), fileLength});
    if (script.ConsumeBool() && fileLength < kLongerThanImage) file.ExtendTo(kLongerThanImage);
    Window window;
    window.OpenByName(file.Path());
    for (int step = 0; step < 12 && script.remaining_bytes() > 0 && window.dialog.FileAnalysed(); ++step) {
        bool committed = RunStep(window, script);
        window.editor.ForgetUnused();
        window.messages.ForgetUnused();
        if (!committed) continue;
        Require(window.dialog.FileAnalysed(), "the edited image does not analyse");
        Require(window.dialog.ImageModified(), "a committed edit left the image unmodified");
        // Save now, refuse a save over a changed file and then save, or go
        // on editing: several edits then meet one save.
        switch (script.ConsumeIntegralInRange<int>(0, 2)) {
            case 0:
                continue;
            case 1:
                SaveOverChangedFileIsRefused(
                    window, file, script.ConsumeIntegralInRange<std::size_t>(0, quibo::kImageCapacity), copies);
                break;
        }
        SaveAndCheck(window, file, copies);
    }
    if (window.dialog.ImageModified()) SaveAndCheck(window, file, copies);
    return 0;
}
