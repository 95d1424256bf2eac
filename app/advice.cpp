// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/advice.h"

#include <algorithm>

#include "analysis/video_bitstream.h"
#include "app/size_text.h"

namespace quibo {
namespace {

// `text` quoted for a POSIX shell.
std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The copy's name: "movie.avi" becomes "movie-fixed.avi".
std::string FixedName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + "-fixed.avi";
    return path.substr(0, dot) + "-fixed" + path.substr(dot);
}

}  // namespace

std::vector<std::string> Advice(const AviReport& report, const std::string& path) {
    std::vector<std::string> advice;
    if (!report.walked) return advice;
    const std::string copy = "ffmpeg -i " + ShellQuoted(path) + " -c copy ";
    const std::string fixed = ShellQuoted(FixedName(path));
    if (report.missingBytes > 0)
        advice.push_back("The file is cut short: " + FormatSizeText(report.missingBytes, SizeStyle::Short) +
                         " are missing, and with them the end of the film and its index. `" + copy + fixed +
                         "` writes a whole file of what is left.");
    const bool superIndex = std::any_of(report.streams.begin(), report.streams.end(),
                                        [](const StreamReport& stream) { return stream.superIndex; });
    if (!report.legacyIndexEntries && !superIndex && report.missingBytes == 0)
        advice.push_back("The file has no index: players cannot seek in it. `" + copy + fixed + "` writes one.");
    if (!report.video || report.video->bitstream.kind != VideoBitstream::Kind::Mpeg4Part2) return advice;
    const VideoBitstream& bits = report.video->bitstream;
    if (bits.packed)
        advice.push_back("The video stores B-frames packed, as DivX once did: some players stutter or show frames out "
                         "of order. `" + copy + "-bsf:v mpeg4_unpack_bframes " + fixed +
                         "` unpacks them without encoding again.");
    if (bits.quarterPel) advice.push_back("The video uses quarter-pixel motion, which many hardware players refuse.");
    if (bits.warpPoints > 0) advice.push_back("The video uses global motion compensation (GMC), which many hardware players refuse.");
    if (bits.mostConsecutiveB > 1)
        advice.push_back("The video has " + std::to_string(bits.mostConsecutiveB) +
                         " B-frames in a row; many hardware players play at most one.");
    const std::optional<std::string> profile = VideoProfileName(bits);
    if (profile && !profile->starts_with("Simple@") && *profile != "Simple")
        advice.push_back("The video's profile is " + *profile +
                         "; many phones and TVs play only MPEG-4 Simple Profile.");
    return advice;
}

}  // namespace quibo
