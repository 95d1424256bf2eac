// SPDX-License-Identifier: GPL-3.0-or-later
// The main window without a window: the core's MainDialog with the command
// line's files, collected messages, scripted answers and decoder source.
// Each thread of a run has one of its own.
#pragma once

#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "cli/collected_messages.h"
#include "cli/info_edit_script.h"
#include "platform/cached_decoder_source.h"
#include "platform/libav_decoder_source.h"
#include "platform/posix_file_access.h"
#include "platform/posix_file_copy.h"
#include "platform/recorded_fields.h"

namespace quibo {

struct HeadlessWindow {
    // Started: the codec database is loaded, and what that had to say is
    // among the messages.
    explicit HeadlessWindow(std::vector<std::string> codecPlaces)
        : decoders(libav, DefaultDecoderCacheFile(), LoaderFingerprint() + " | " + LibavDecoderSource::Identity()),
          copyObserver(messages),
          dialog({.files = files,
                  .messages = messages,
                  .dialogs = dialogs,
                  .fields = fields,
                  .editor = &editor,
                  .copier = &copier,
                  .copyObserver = &copyObserver,
                  .decoders = &decoders},
                 std::move(codecPlaces)) {
        dialog.Start();
    }
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    PosixFileAccess files;
    CollectedMessages messages;
    ScriptFileDialogs dialogs;
    RecordedFields fields;
    LibavDecoderSource libav;
    CachedDecoderSource decoders;
    ScriptedInfoEditor editor;
    PosixFileCopy copier;
    ScriptCopyObserver copyObserver;
    MainDialog dialog;
};

}  // namespace quibo
