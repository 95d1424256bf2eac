// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_dialog.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include <strings.h>

#include "analysis/analyse.h"
#include "analysis/file_identify.h"
#include "app/report_texts.h"
#include "codecs/installed_codecs.h"
#include "platform/error_text.h"
#include "res/command_ids.h"
#include "riff/riff_layout.h"

namespace quibo {
namespace {

std::unique_ptr<std::uint8_t[]> ZeroFilledImage() { return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[kImageCapacity]()); }

}  // namespace

const std::vector<std::pair<std::string, std::string>>& AviFileFilters() {
    static const std::vector<std::pair<std::string, std::string>> kFilters = {{"AVI Files (*.avi)", "*.avi"},
                                                                               {"ALL Files (*.*)", "*.*"}};
    return kFilters;
}

std::string ReplacePathPlaceholder(const std::string& format, const std::string& path) {
    std::string text = format;
    std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, path);
    return text;
}

MainDialog::MainDialog(Services services, std::vector<std::string> codecPlaces)
    : services_(services), codecPlaces_(std::move(codecPlaces)) {}

void MainDialog::Start() {
    LoadCodecDatabase();
    ResetAnalysis("");
    if (services_.decoders) CollectInstalledFourCCs(*services_.decoders, installed_);
    if (!pendingFileName_.empty()) OnFileOpen();
}

void MainDialog::LoadCodecDatabase() {
    CodecLoadResult loaded = quibo::LoadCodecDatabase(services_.files, codecPlaces_, codecs_);
    if (loaded.complete) return;
    ReportCodecLoadFailure(loaded.failure);
    services_.messages.Show({"Error processing codec data base file Quibo.dat.\nSome or all codec information not "
                             "retrieved.\nFourCC code only will be displayed.",
                             "Operational Note", MessageButtons::Ok, MessageIcon::Information});
}

void MainDialog::ReportCodecLoadFailure(const CodecLoadFailure& failure) {
    const std::string caption = "Load Codec Data";
    switch (failure.kind) {
        case CodecLoadFailure::Kind::Open:
            ReportSystemError(caption, "Error opening codec file %s:\n\n", failure.path, failure.error);
            break;
        case CodecLoadFailure::Kind::InvalidSize:
            services_.messages.Show({ReplacePathPlaceholder("Invalid codec file: %s", failure.path), caption,
                                     MessageButtons::Ok, MessageIcon::Exclamation});
            break;
        case CodecLoadFailure::Kind::Read:
            ReportSystemError(caption, "Error reading codec file %s:\n\n", failure.path, failure.error);
            break;
        case CodecLoadFailure::Kind::Memory:
        case CodecLoadFailure::Kind::None:
            break;
    }
}

void MainDialog::OnFileOpen() {
    if (imageModified_ && AskSaveChanges("File Open") < 0) return;
    if (!pendingFileName_.empty()) {
        filePath_ = std::move(pendingFileName_);
        pendingFileName_.clear();
    } else {
        FileDialogRequest request{"Select file to be checked..", AviFileFilters(), filePath_};
        std::optional<std::string> chosen = services_.dialogs.AskOpenPath(request);
        if (!chosen) return;
        filePath_ = *chosen;
        fileAnalysed_ = fileRead_ = imageModified_ = false;
    }
    OpenResult opened = services_.files.OpenExclusiveRead(filePath_);
    if (!opened.handle) {
        ReportSystemError("File Open Failure", "Unable to open file %s:\n\n", filePath_, opened.error);
        return;
    }
    LoadAndAnalyse(opened.handle.get(), filePath_);
}

void MainDialog::OnViewRefresh() { LoadAndAnalyse(nullptr, "Refresh"); }

void MainDialog::OnFileClose() {
    if (imageModified_ && AskSaveChanges("File Close") < 0) return;
    fileAnalysed_ = fileRead_ = imageModified_ = false;
    filePath_.clear();
    pendingFileName_.clear();
    ResetAnalysis("");
}

bool MainDialog::OnCancel() { return !(imageModified_ && AskSaveChanges("Exiting...") < 0); }

bool MainDialog::AllocateBuffers() {
    if (!fileImage_) fileImage_ = ZeroFilledImage();
    if (!workImage_) workImage_ = ZeroFilledImage();
    if (!loadedImage_) loadedImage_ = ZeroFilledImage();
    if (!audioStorage_) {
        audioStorage_ = ZeroFilledImage();
        if (audioStorage_) audio_.emplace(audioStorage_.get(), kImageCapacity);
    }
    return fileImage_ && workImage_ && loadedImage_ && audioStorage_;
}

void MainDialog::ReadIntoImage(FileHandle& file, const std::string& path) {
    std::memset(fileImage_.get(), 0, 4);
    std::memset(workImage_.get(), 0, 4);
    ReadResult read = file.ReadFromStart(fileImage_.get(), kImageCapacity);
    // Nothing of an earlier, longer file may stay behind this one's bytes;
    // a failed read may have left some anywhere.
    loadedLength_ = read.ok ? read.count : 0;
    const std::size_t dirty = read.ok ? std::max(imageDirtyEnd_, loadedLength_) : kImageCapacity;
    std::memset(fileImage_.get() + loadedLength_, 0, dirty - loadedLength_);
    imageDirtyEnd_ = loadedLength_;
    std::memcpy(loadedImage_.get(), fileImage_.get(), loadedLength_);
    SizeResult size = file.Size();
    loadedSize_ = size.ok ? std::optional(size.bytes) : std::nullopt;
    TimeResult time = file.LastWriteTime();
    loadedTime_ = time.ok ? std::optional(time.seconds) : std::nullopt;
    loadedIdentity_ = file.Identity();
    shownName_ = path;
    // The image no longer holds any edit, whatever the flags said of the
    // file before: nothing is pending to be written.
    imageModified_ = false;
    writeLength_ = 0;
    fileRead_ = read.ok;
    if (!read.ok) ReportSystemError("File Read Error", "Error reading file %s:\n\n", path, read.error);
}

void MainDialog::LoadAndAnalyse(FileHandle* file, const std::string& path) {
    // Set again below when this walk succeeds; a file opened by name must
    // not inherit the verdict of the file before it.
    fileAnalysed_ = false;
    ClearReport("n.a.", true, services_.fields);
    if (!AllocateBuffers()) {
        services_.messages.Show({"Out of Memory - Cannot Process File", "System Error", MessageButtons::Ok,
                                 MessageIcon::Stop});
        return;
    }
    if (file != nullptr) {
        ReadIntoImage(*file, path);
        pastImage_ = {};
        if (loadedSize_ && IdentifyFile(fileImage_.get(), *loadedSize_).type == FileType::Avi)
            pastImage_ = ReadPastImage(*file, fileImage_.get(), static_cast<std::uint64_t>(*loadedSize_));
    }
    Analyse({fileImage_.get(), loadedLength_, loadedSize_, loadedTime_, pastImage_, codecs_, installed_},
            *audio_, report_);
    fileAnalysed_ = report_.walked;
    ShowReport(report_, shownName_, services_.fields);
}

void MainDialog::ResetAnalysis(const std::string& text) {
    report_.Reset();
    ClearReport(text, false, services_.fields);
}

const InfoRow* MainDialog::SelectedRow() const {
    int selected = services_.fields.SelectedInfoRow();
    if (selected < 0 || static_cast<std::size_t>(selected) >= report_.rows.size()) return nullptr;
    return &report_.rows[static_cast<std::size_t>(selected)];
}

bool MainDialog::CanEditSelection() const {
    if (!fileAnalysed_) return false;
    const InfoRow* row = SelectedRow();
    if (row == nullptr || row->code.empty() || row->code.front() == ' ') return false;
    return !(row->code.size() == 4 && ::strncasecmp(row->code.data(), "JUNK", 4) == 0);
}

void MainDialog::ReportSystemError(const std::string& caption, const std::string& format, const std::string& path,
                                   int error) {
    // Nothing may run between the failing call and this one that could
    // change `error`; it is passed in, so nothing can.
    std::string text = ReplacePathPlaceholder(format, path) + SystemErrorText(error);
    // The exclusive lock is the one reason an open would block.
    if (error == EWOULDBLOCK) text += "\n\n" + path + " is open in another program (locked).";
    services_.messages.Show({text, caption, MessageButtons::Ok, MessageIcon::Exclamation});
}

bool MainDialog::IsCommandEnabled(int commandId) const {
    switch (commandId) {
        case command::kEditField:
        case command::kDeleteField:
            return CanEditSelection();
        case command::kNewField:
        case command::kRefresh:
        case command::kDetails:
            return fileAnalysed_;
        case command::kSave:
        case command::kSaveAs:
            return fileAnalysed_ && imageModified_;
        case command::kClose:
            return fileRead_;
        case command::kChangeFourCC:
            return fileAnalysed_ && report_.video.has_value();
        default:
            return true;
    }
}

}  // namespace quibo
