#include "res/main_window_fields.h"

#include "res/control_ids.h"

namespace quibo {
namespace {

using enum FieldGroup;

constexpr FieldSpec kFields[] = {
    {control::kFileName, General, "Filename", 42, 18, 127, 14},
    {control::kFileSize, General, "Size", 42, 36, 127, 14},
    {control::kFileDate, General, "Date", 42, 54, 93, 14},
    {control::kFileStatus, General, "Status", 42, 75, 127, 10},
    {control::kVideoFourCC, Video, "FourCC", 245, 15, 72, 14},
    {control::kVideoCodec, Video, "Codec", 245, 33, 72, 14},
    {control::kVideoVendor, Video, "Vendor", 245, 51, 72, 14},
    {control::kVideoStatus, Video, "Status", 245, 72, 72, 10},
    {control::kVideoAspect, Video, "Aspect Ratio", 245, 90, 72, 14},
    {control::kVideoFrameRate, Video, "Frame/Sec", 245, 108, 72, 14},
    {control::kVideoDuration, Video, "Duration", 245, 126, 72, 14},
    {control::kVideoBitrate, Video, "Avg Bitrate", 245, 144, 72, 14},
    {control::kAudioEncoding, Audio, "Encoding", 247, 180, 72, 14},
    {control::kAudioBitrate, Audio, "Avg Bitrate", 247, 198, 72, 14},
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
