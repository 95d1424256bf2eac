// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/report_texts.h"

#include <cmath>
#include <cstdio>
#include <strings.h>

#include "analysis/audio_facts.h"
#include "analysis/file_identify.h"
#include "app/size_text.h"
#include "info/display_text.h"
#include "info/info_field_table.h"
#include "res/control_ids.h"

namespace quibo {
namespace {

std::string CodecText(const char* text) { return text ? text : ""; }

const char* ForeignFileStatus(FileType type) {
    switch (type) {
        case FileType::Asf: return "File is ASF (.WMA/.WMV) - not supported";
        case FileType::QuickTime: return "File is Quicktime (.MOV) - not supported";
        case FileType::Mpeg: return "File is MPEG (.MPG/.MPEG) - not supported";
        case FileType::Rar: return "File is Winrar (/RAR) - not supported";
        case FileType::Zip: return "File is Zipped (.ZIP) - not supported";
        case FileType::Ogg: return "File is Ogg Media (.OGM) - not supported";
        case FileType::Wav: return "File is .WAV audio - not supported";
        case FileType::Riff: return "Unsupported / Unknown RIFF file";
        case FileType::Avi:
        case FileType::Unknown: break;
    }
    return "Not a Valid AVI File: Bad Header";
}

void ShowVideo(const VideoReport& video, FieldSurface& fields) {
    fields.SetText(control::kVideoDuration, FormatDuration(video.seconds));
    if (video.bytesPerSecond) fields.SetText(control::kVideoBitrate, FormatVideoBitrate(*video.bytesPerSecond));
    fields.SetText(control::kVideoFourCC, FourCCText(video));
    fields.SetText(control::kVideoCodec, CodecText(video.codec));
    fields.SetText(control::kVideoVendor, CodecText(video.vendor));
    if (auto rate = FormatFrameRate(video.framesPerSecond)) fields.SetText(control::kVideoFrameRate, *rate);
    fields.SetText(control::kVideoAspect, FormatFrameSize(video.width, video.height, video.declaredAspect));
    fields.SetChecked(control::kVideoStatus, true);
    fields.SetEnabled(control::kVideoStatus, true);
    fields.SetText(control::kVideoStatus, video.decoderInstalled ? "Codec IS Installed" : "Codec NOT Installed");
}

void ShowAudio(const AudioReport& audio, FieldSurface& fields) {
    fields.SetText(control::kAudioBitrate, FormatAudioBitrate(audio.bytesPerSecond, audio.scan.verdict));
    fields.SetText(control::kAudioEncoding, AudioFormatName(audio.formatTag) + "  " + DisplayText(audio.scan.tag.text));
}

}  // namespace

void ClearReport(const std::string& text, bool statusOn, FieldSurface& fields) {
    fields.ClearInfoRows();
    for (int id : {control::kAudioBitrate, control::kAudioEncoding, control::kVideoVendor, control::kVideoFrameRate,
                   control::kVideoDuration, control::kVideoBitrate, control::kVideoCodec, control::kVideoFourCC,
                   control::kVideoAspect, control::kFileStatus, control::kVideoStatus, control::kFileName,
                   control::kFileSize, control::kFileDate})
        fields.SetText(id, text);
    fields.SetChecked(control::kFileStatus, statusOn);
    fields.SetEnabled(control::kFileStatus, statusOn);
    fields.SetChecked(control::kVideoStatus, false);
    fields.SetEnabled(control::kVideoStatus, false);
}

void ShowReport(const AviReport& report, const std::string& fileName, FieldSurface& fields) {
    ClearReport("n.a.", true, fields);
    fields.SetText(control::kFileName, fileName);
    if (report.size) fields.SetText(control::kFileSize, FormatSizeText(*report.size, SizeStyle::Long));
    if (report.lastWrite) fields.SetText(control::kFileDate, FormatLastWriteTime(*report.lastWrite));
    fields.SetText(control::kFileStatus, FileStatusText(report));
    for (std::size_t i = 0; i < report.rows.size(); ++i) {
        const InfoRow& row = report.rows[i];
        fields.InsertInfoRow(static_cast<int>(i),
                             {DisplayText(row.code), InfoFieldNameFor(row.code), DisplayText(row.text)});
    }
    if (!report.walked) return;
    if (report.video) ShowVideo(*report.video, fields);
    if (report.audio)
        ShowAudio(*report.audio, fields);
    else
        fields.SetText(control::kAudioEncoding, "No Audio Channels");
}

std::string FormatLastWriteTime(std::time_t seconds) {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) return "n.a.";
    char text[64];
    std::snprintf(text, sizeof text, "%02d %s %04d, %02d:%02d:%02d", local.tm_mday, kMonths[local.tm_mon],
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string FileStatusText(const AviReport& report) {
    // Without a size there is no verdict.
    if (!report.size) return "n.a.";
    if (report.type != FileType::Avi) return ForeignFileStatus(report.type);
    if (!report.walked) return "Not a valid AVI File";
    if (report.missingBytes == 0) return "File Length Correct";
    // What the headers of a cut file say is shown all the same.
    const std::string missing = FormatSizeText(report.missingBytes, SizeStyle::Short);
    if (report.missingBytes <= kTruncationTolerance) return "May be truncated:" + missing + " are missing.";
    return "===> Truncated: " + missing + " are missing.";
}

std::string FormatDuration(double seconds) {
    // A header's frames, scale and rate can declare up to 2^64 seconds, past
    // any 64-bit integer: the arithmetic stays in doubles.
    const double whole = std::floor(seconds + 0.5);
    char text[64];
    std::snprintf(text, sizeof text, "%02.0fh %02dm %02ds", std::floor(whole / 3600),
                  static_cast<int>(std::fmod(whole, 3600) / 60), static_cast<int>(std::fmod(whole, 60)));
    return text;
}

std::optional<std::string> FormatFrameRate(double framesPerSecond) {
    if (!(framesPerSecond > 0) || !std::isfinite(framesPerSecond)) return std::nullopt;
    char text[64];
    std::snprintf(text, sizeof text, "%.3f FPS", framesPerSecond);
    return text;
}

std::string FormatFrameSize(std::uint32_t width, std::uint32_t height, std::optional<double> displayAspect) {
    char text[96];
    if (displayAspect)
        std::snprintf(text, sizeof text, "%u x %u  (%4.3f : 1)", width, height, *displayAspect);
    else if (width == 0 || height == 0)
        std::snprintf(text, sizeof text, "%u x %u", width, height);
    else if (width < height)
        std::snprintf(text, sizeof text, "%u x %u  (1 : %4.3f)", width, height, static_cast<double>(height) / width);
    else
        std::snprintf(text, sizeof text, "%u x %u  (%4.3f : 1)", width, height, static_cast<double>(width) / height);
    return text;
}

std::string FormatVideoBitrate(double bytesPerSecond) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f kb/s", bytesPerSecond * 0.008);
    return text;
}

std::string FormatAudioBitrate(std::uint32_t avgBytesPerSec, int verdict) {
    char text[48];
    // Bytes per second times 8 / 1,000, to the nearest kilobit, without
    // overflowing 32 bits.
    std::uint32_t kilobits = avgBytesPerSec / 125 + (avgBytesPerSec % 125 >= 63 ? 1 : 0);
    std::snprintf(text, sizeof text, "%u kb/s", kilobits);
    std::string result = text;
    if (verdict == kVerdictVbr) result += " VBR  ";
    else if (verdict == kVerdictCbr) result += " CBR  ";
    return result;
}

std::string FourCCText(const VideoReport& video) {
    // Uncompressed and run-length video usually leave the handler empty.
    if (video.handler.empty() && video.compressionValue < 4) return video.compression;
    if (::strcasecmp(video.handler.c_str(), video.compression.c_str()) == 0) return DisplayText(video.handler);
    return DisplayText(video.compression + "/" + video.handler);
}

}  // namespace quibo
