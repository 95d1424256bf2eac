// SPDX-License-Identifier: GPL-3.0-or-later
// The one presenter of the main window's texts: a report as the window,
// quibo-info's text output and the field dump show it.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "analysis/avi_report.h"
#include "platform/field_surface.h"

namespace quibo {

// Every field shows `text` and no row is left; the status marks are on
// when `statusOn`.
void ClearReport(const std::string& text, bool statusOn, FieldSurface& fields);
// Every field and row of `report`, with `fileName` as the file's name.
void ShowReport(const AviReport& report, const std::string& fileName, FieldSurface& fields);

// "06 Dec 2026, 23:16:31" in local time, English month names whatever the
// locale.
std::string FormatLastWriteTime(std::time_t seconds);
// "File Length Correct", "May be truncated: …", a foreign file's verdict.
std::string FileStatusText(const AviReport& report);
// "01h 30m 00s": whole seconds to the nearest, total hours.
std::string FormatDuration(double seconds);
// "25.000 FPS"; nothing for a rate that is not positive.
std::optional<std::string> FormatFrameRate(double framesPerSecond);
// "640 x 480  (1.333 : 1)"; without the ratio when a side is zero. A
// display aspect ratio the file declares stands in the brackets instead.
std::string FormatFrameSize(std::uint32_t width, std::uint32_t height, std::optional<double> displayAspect);
// "1200 kb/s" from bytes per second.
std::string FormatVideoBitrate(double bytesPerSecond);
// "128 kb/s" to the nearest kilobit, then " VBR  ", " CBR  " or nothing.
std::string FormatAudioBitrate(std::uint32_t avgBytesPerSec, int verdict);
// The FourCC field: the compression, or compression/handler when they
// differ in more than letter case.
std::string FourCCText(const VideoReport& video);

}  // namespace quibo
