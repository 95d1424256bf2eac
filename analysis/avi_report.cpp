// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/avi_report.h"

namespace quibo {

void AviReport::Reset() {
    type = FileType::Unknown;
    size.reset();
    lastWrite.reset();
    missingBytes = 0;
    walked = opendml = false;
    legacyIndexEntries.reset();
    video.reset();
    audio.reset();
    streams.clear();
    rows.clear();
    recordedText = {};
    walk.Reset();
}

const char* StreamTypeName(StreamType type) {
    switch (type) {
        case StreamType::Video: return "video";
        case StreamType::Audio: return "audio";
        case StreamType::Text: return "text";
        case StreamType::Other: break;
    }
    return "other";
}

const char* FileTypeName(FileType type) {
    switch (type) {
        case FileType::Avi: return "AVI";
        case FileType::Asf: return "ASF";
        case FileType::QuickTime: return "QuickTime";
        case FileType::Mpeg: return "MPEG";
        case FileType::Rar: return "RAR";
        case FileType::Zip: return "ZIP";
        case FileType::Ogg: return "Ogg";
        case FileType::Wav: return "WAV";
        case FileType::Riff: return "RIFF";
        case FileType::Unknown: break;
    }
    return "unknown";
}

}  // namespace quibo
