// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/details_text.h"

#include <algorithm>
#include <cstdio>

#include "analysis/audio_facts.h"
#include "analysis/recorded_date.h"
#include "analysis/video_bitstream.h"
#include "app/advice.h"
#include "app/report_texts.h"
#include "info/display_text.h"

namespace quibo {
namespace {

std::string Number(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void AddBitstream(const VideoBitstream& bits, std::string& text) {
    if (bits.kind == VideoBitstream::Kind::Unknown) return;
    std::vector<std::string> parts{bits.kind == VideoBitstream::Kind::H264 ? "AVC" : "MPEG-4 Visual"};
    if (auto profile = VideoProfileName(bits)) parts.push_back(*profile);
    if (!bits.encoder.empty()) parts.push_back("written by " + DisplayText(bits.encoder));
    if (bits.packed) parts.push_back("packed bitstream");
    if (bits.mostConsecutiveB > 0) parts.push_back(std::to_string(bits.mostConsecutiveB) + " B-frames in a row");
    if (bits.quarterPel) parts.push_back("quarter-pel");
    if (bits.warpPoints > 0) parts.push_back("GMC with " + std::to_string(bits.warpPoints) + " warp points");
    if (bits.pixelAspectX && bits.pixelAspectY)
        parts.push_back("pixel aspect " + std::to_string(bits.pixelAspectX) + ":" + std::to_string(bits.pixelAspectY));
    parts.push_back(bits.interlaced ? "interlaced" : "progressive");
    text += "    ";
    for (std::size_t i = 0; i < parts.size(); ++i) text += (i ? ", " : "") + parts[i];
    text += '\n';
    if (!bits.encoderSettings.empty()) text += "    options: " + DisplayText(bits.encoderSettings) + '\n';
}

void AddStream(const AviReport& report, const StreamReport& stream, std::string& text) {
    text += "  Stream " + std::to_string(stream.index) + ": " + StreamTypeName(stream.type);
    if (stream.type == StreamType::Video)
        text += ", " + DisplayText(stream.compression) + ", " + std::to_string(stream.width) + " x " +
                std::to_string(stream.height);
    if (stream.type == StreamType::Audio) {
        text += ", " + AudioFormatName(stream.formatTag) + ", " + std::to_string(stream.channels) +
                (stream.channels == 1 ? " channel (" : " channels (") +
                ChannelLayoutName(stream.channels, stream.channelMask) + "), " + std::to_string(stream.sampleRate) +
                " Hz";
        if (stream.bitsPerSample) text += ", " + std::to_string(stream.bitsPerSample) + " bits";
    }
    text += ", handler \"" + DisplayText(stream.handler) + "\"";
    if (stream.rate && stream.scale)
        text += ", rate " + std::to_string(stream.rate) + "/" + std::to_string(stream.scale) + ", " +
                Number("%.3f s", static_cast<double>(stream.length) * stream.scale / stream.rate);
    text += ", length " + std::to_string(stream.length) + ", start " + std::to_string(stream.start) +
            ", suggested buffer " + std::to_string(stream.suggestedBuffer);
    if (!stream.name.empty()) text += ", name \"" + DisplayText(stream.name) + "\"";
    if (!stream.language.empty()) text += ", language " + DisplayText(stream.language);
    if (stream.superIndex) text += ", OpenDML index";
    text += '\n';
    if (report.video && report.video->index == stream.index) AddBitstream(report.video->bitstream, text);
    if (report.audio && report.audio->index == stream.index && report.audio->codedChannels)
        text += "    AC-3 frames code " + std::to_string(*report.audio->codedChannels) + " channels\n";
}

}  // namespace

std::string DetailsText(const AviReport& report, const std::string& path) {
    if (!report.walked) return "No details: the file is not a valid AVI file.\n";
    std::string text = "Streams\n";
    for (const StreamReport& stream : report.streams) AddStream(report, stream, text);
    text += "Index: ";
    text += report.legacyIndexEntries ? "idx1 with " + std::to_string(*report.legacyIndexEntries) + " entries"
                                      : std::string("no idx1");
    if (std::any_of(report.streams.begin(), report.streams.end(), [](const StreamReport& s) { return s.superIndex; }))
        text += ", OpenDML super index";
    text += report.opendml ? "; OpenDML file\n" : "\n";
    if (auto recorded = RecordedDate(report.recordedText)) text += "Recorded: " + *recorded + '\n';
    const std::vector<std::string> advice = Advice(report, path);
    if (!advice.empty()) text += "Advice\n";
    for (const std::string& line : advice) text += "  - " + line + '\n';
    return text;
}

}  // namespace quibo
