// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's behaviour, free of any window system: its state, the
// open, refresh and close commands, the analysis road and the enable rules.
// Front ends give it their files, message boxes, dialogs and field surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <vector>

#include "analysis/audio_sample_buffer.h"
#include "analysis/avi_report.h"
#include "analysis/past_image.h"
#include "codecs/codec_database.h"
#include "codecs/installed_fourcc_list.h"
#include "info/info_edit_request.h"
#include "info/info_editor.h"
#include "platform/file_copy.h"
#include "platform/field_surface.h"
#include "platform/file_access.h"
#include "platform/file_dialogs.h"
#include "platform/fourcc_dialog.h"
#include "platform/installed_decoder_source.h"
#include "platform/message_boxes.h"

namespace quibo {

struct Services {
    FileAccess& files;
    MessageBoxes& messages;
    FileDialogs& dialogs;
    FieldSurface& fields;
    // The INFO editor, and the copy of Save As with its progress and
    // questions; without them Edit, New and Save As do nothing.
    InfoEditor* editor = nullptr;
    FileCopy* copier = nullptr;
    CopyObserver* copyObserver = nullptr;
    // The installed video decoders; without a source none is installed.
    InstalledDecoderSource* decoders = nullptr;
    // The Change FourCC dialog; without it the command does nothing.
    FourCCDialog* fourCCDialog = nullptr;
};

// Whether `text` can be a FourCC: four printable ASCII characters.
bool IsPrintableFourCC(const std::string& text);

// The filters of the Open and Save dialogs.
const std::vector<std::pair<std::string, std::string>>& AviFileFilters();

// `format` with `path` in place of its "%s".
std::string ReplacePathPlaceholder(const std::string& format, const std::string& path);

class MainDialog {
public:
    // `codecPlaces`: where the codec database is looked for, in order.
    MainDialog(Services services, std::vector<std::string> codecPlaces = {});

    // Start-up once the window exists: load the codec database, clear every
    // field, arrange the list of installed codecs (filled when the status
    // check first reads it), then open the file named on the command line,
    // if any.
    void Start();
    // Loads the codec database; on failure the user is told what is lost.
    void LoadCodecDatabase();

    void OnFileOpen();
    void OnViewRefresh();
    void OnFileClose();
    // Exit: true when the window may close (unsaved edits were asked about).
    bool OnCancel();

    // INFO edits on the image in memory; true when an edit was committed.
    bool OnEditField();
    bool OnDeleteField();
    bool OnNewField();
    bool ApplyInfoEdit(InfoEditKind kind);
    // Refuses, with a message, any edit of a file whose INFO list lies past
    // the image: other programs show that list, not the image's.
    bool RefuseEditPastImage();

    // The first video stream's FourCC, in the stream header's handler, the
    // format's compression or both, changed in the image: four bytes each,
    // nothing else. False, with a message, for a FourCC that is not four
    // printable ASCII characters or a field outside the image.
    bool ChangeVideoFourCC(const std::string& fourCC, FourCCFields fields);
    // Why the change would make FFmpeg decode the file with another decoder
    // (it picks one by the compression, and the installed decoders' list
    // tells which); nothing when it would not.
    std::optional<std::string> DecoderChangeWarning(const std::string& fourCC, FourCCFields fields) const;
    // Change FourCC: asks the dialog, and on a decoder change the user, then
    // changes the FourCC; true when it did.
    bool OnChangeFourCC();

    // Writing back: the first WriteLength() bytes of the image go over the
    // start of the file (Save) or of a copy (Save As).
    // Both write nothing when the file is no longer the one that was read.
    bool WriteImage();
    // Save: true when the edits reached the disk.
    bool ConfirmAndWrite();
    // Save As: true when the edited copy was made and opened.
    bool OnSaveAs();
    // Asks "Save changes to ...?"; -1 when the user cancelled, else 1.
    int AskSaveChanges(const std::string& caption);

    // Analyses `file` (or, without one, the image as it stands) and shows
    // the report in every field.
    void LoadAndAnalyse(FileHandle* file, const std::string& path);
    void ResetAnalysis(const std::string& text);
    // A message box whose text is `format` with `path` in place of its
    // "%s", followed by the system's text for `error`.
    void ReportSystemError(const std::string& caption, const std::string& format, const std::string& path,
                           int error);

    bool IsCommandEnabled(int commandId) const;
    // Whether Edit and Delete apply to the selected row.
    bool CanEditSelection() const;
    // The selected row of the RIFF Info list, or null.
    const InfoRow* SelectedRow() const;

    void SetPendingFileName(std::string path) { pendingFileName_ = std::move(path); }
    const std::string& PendingFileName() const { return pendingFileName_; }
    const std::string& FilePath() const { return filePath_; }
    bool FileRead() const { return fileRead_; }
    bool FileAnalysed() const { return fileAnalysed_; }
    bool ImageModified() const { return imageModified_; }
    std::size_t WriteLength() const { return writeLength_; }

    // The image buffers; null before the first load.
    const std::uint8_t* FileImage() const { return fileImage_.get(); }
    // Bytes of the current file held in the image (the rest is zero).
    std::size_t LoadedLength() const { return loadedLength_; }
    // The last analysis; its texts point into the image.
    const AviReport& Report() const { return report_; }
    const StreamFacts& Facts() const { return report_.walk; }
    const AudioSampleBuffer* AudioSamples() const { return audio_ ? &*audio_ : nullptr; }
    const CodecDatabase& Codecs() const { return codecs_; }
    InstalledFourCCList& InstalledFourCCs() { return installed_; }

private:
    bool AllocateBuffers();
    // What the Change FourCC dialog shows: the fields, FFmpeg's decoder and
    // the database's tags it decodes too. Only with a video stream.
    FourCCQuestion FourCCQuestionNow() const;
    void ReadIntoImage(FileHandle& file, const std::string& path);
    void ReportCodecLoadFailure(const CodecLoadFailure& failure);
    void ShowEditFailure(const std::string& caption);
    // Whether the file behind `file` still holds what was read at Open: its
    // length and first bytes, and when `sameFile`, the same file. Tells the
    // user why not.
    bool StillAsLoaded(FileHandle& file, bool sameFile);
    // Writes the first WriteLength() bytes of the image into `file`,
    // reporting a failure under `path`.
    bool WriteImageTo(FileHandle& file, const std::string& path);

    // The bytes a new INFO list replaced, to take it out again when the
    // edit that needed it does not happen.
    struct TemplateUndo {
        std::size_t offset = 0;
        std::size_t length = 0;
        std::uint8_t bytes[64] = {};
    };
    void UndoNewInfoList();

    Services services_;
    std::unique_ptr<std::uint8_t[]> fileImage_;
    std::unique_ptr<std::uint8_t[]> workImage_;
    std::unique_ptr<std::uint8_t[]> audioStorage_;
    std::optional<AudioSampleBuffer> audio_;
    std::size_t loadedLength_ = 0;
    // Where the image's zeros begin for sure: past the file's bytes, unless
    // a new INFO list reached further.
    std::size_t imageDirtyEnd_ = 0;
    // The file as read at Open (its first bytes, as last written by a Save),
    // to tell before a write whether another program changed it.
    std::unique_ptr<std::uint8_t[]> loadedImage_;
    std::optional<std::int64_t> loadedSize_;
    std::optional<std::time_t> loadedTime_;
    std::optional<FileIdentity> loadedIdentity_;
    // The name the General group shows: the file last opened.
    std::string shownName_;
    PastImage pastImage_;

    AviReport report_;

    std::vector<std::string> codecPlaces_;
    CodecDatabase codecs_;
    InstalledFourCCList installed_;

    std::string filePath_;
    std::string pendingFileName_;
    bool fileRead_ = false;
    bool fileAnalysed_ = false;
    bool imageModified_ = false;

    InfoEditRequest request_;
    std::size_t writeLength_ = 0;
    std::optional<TemplateUndo> templateUndo_;
};

}  // namespace quibo
