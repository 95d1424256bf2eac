// SPDX-License-Identifier: GPL-3.0-or-later
#include "res/field_tooltips.h"

#include "res/control_ids.h"

namespace quibo {
namespace {

constexpr FieldTooltip kTooltips[] = {
    {control::kVideoFourCC, "Four digit code identifies type of video codec"},
    {control::kAudioBitrate, "Reported bitrate of the audio stream in kb/s"},
    {control::kVideoVendor, "Manufacturer of the video codec"},
    {control::kAudioEncoding, "Encoding method used by the audio stream"},
    {control::kFileDate, "The file's last modification date"},
    {control::kFileName, "Name of the file being examined"},
    {control::kFileSize, "Size of the file being examined"},
    {control::kVideoFrameRate, "Video frame rate in frames per second"},
    {control::kVideoDuration, "Duration if the video in hrs, mins, and seconds"},
    {control::kVideoBitrate, "Computed average bitrate of the video stream"},
    {control::kVideoCodec, "Name of the video codec"},
    {control::kVideoStatus, "Installation status of video codec shown here"},
    {control::kFileStatus, "Detected problems with the AVI file shown here"},
    {control::kVideoAspect, "Frame size in pixels (width x height), and ratio of those two numbers"},
};

}  // namespace

std::span<const FieldTooltip> FieldTooltips() { return kTooltips; }

}  // namespace quibo
