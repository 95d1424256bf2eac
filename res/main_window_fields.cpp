// SPDX-License-Identifier: GPL-3.0-or-later
#include "res/main_window_fields.h"

#include "res/control_ids.h"

namespace quibo {
namespace {

using enum FieldGroup;

constexpr FieldSpec kFields[] = {
    {control::kFileName, General, "Filename", 42, 18, 127, 14, "/home/user/Videos/Holiday 2004/tape 1.avi"},
    {control::kFileSize, General, "Size", 42, 36, 127, 14, "3,500 MB   (3,584,000 KB    3,670,016,000 bytes)"},
    {control::kFileDate, General, "Date", 42, 54, 93, 14, "30 Sep 2026, 23:59:59"},
    {control::kFileStatus, General, "Status", 42, 75, 127, 10, "===> Truncated: 3,417 MB are missing."},
    {control::kVideoFourCC, Video, "FourCC", 245, 15, 72, 14, "DX50/divx"},
    {control::kVideoCodec, Video, "Codec", 245, 33, 72, 14, "DivX MPEG-4 Video (DivX 4 and later)"},
    {control::kVideoVendor, Video, "Vendor", 245, 51, 72, 14, "DivX, Inc. (formerly DivXNetworks)"},
    {control::kVideoStatus, Video, "Status", 245, 72, 72, 10, "Codec NOT Installed"},
    {control::kVideoAspect, Video, "Aspect Ratio", 245, 90, 72, 14, "3840 x 2160  (1.778 : 1)"},
    {control::kVideoFrameRate, Video, "Frame/Sec", 245, 108, 72, 14, "29.970 FPS"},
    {control::kVideoDuration, Video, "Duration", 245, 126, 72, 14, "01h 30m 00s"},
    {control::kVideoBitrate, Video, "Avg Bitrate", 245, 144, 72, 14, "622083 kb/s"},
    {control::kAudioEncoding, Audio, "Encoding", 247, 180, 72, 14, "WMA Lossless  LAME3.100"},
    {control::kAudioBitrate, Audio, "Avg Bitrate", 247, 198, 72, 14, "1411 kb/s VBR  "},
};

}  // namespace

std::span<const FieldSpec> MainWindowFields() { return kFields; }

const char* GroupName(FieldGroup group) {
    switch (group) {
        case General: return "General";
        case Video: return "Video";
        case Audio: return "Audio";
    }
    return "";
}

}  // namespace quibo
