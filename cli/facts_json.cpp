// SPDX-License-Identifier: GPL-3.0-or-later
// The typed report as JSON: numbers as numbers, texts decoded, null where
// the file does not tell.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

#include "analysis/audio_facts.h"
#include "analysis/recorded_date.h"
#include "analysis/video_bitstream.h"
#include "app/advice.h"
#include "cli/file_report.h"
#include "info/display_text.h"

namespace quibo {
namespace {

using Json = nlohmann::ordered_json;

Json TextOrNull(const char* text) { return text ? Json(DisplayText(text)) : Json(); }

// Bytes per second as whole bits per second.
// Null past 2^63: a header's tiny frame period can make a rate no integer holds.
Json BitsPerSecond(double bytesPerSecond) {
    const double bits = std::round(bytesPerSecond * 8);
    return bits < 0x1p63 ? Json(static_cast<std::int64_t>(bits)) : Json();
}

Json ViewOrNull(std::string_view text) { return text.empty() ? Json() : Json(DisplayText(text)); }

double Ratio(std::uint32_t numerator, std::uint32_t denominator) {
    return static_cast<double>(numerator) / denominator;
}

// "30000/1001": rate over scale in lowest terms.
std::string Fraction(std::uint32_t rate, std::uint32_t scale) {
    const std::uint32_t common = std::gcd(rate, scale);
    return std::to_string(rate / common) + "/" + std::to_string(scale / common);
}

// What every stream's header says, and its name and language.
Json StreamJson(const StreamReport& stream) {
    const bool timed = stream.rate != 0 && stream.scale != 0;
    return {{"index", stream.index},
            {"type", StreamTypeName(stream.type)},
            {"handler", DisplayText(stream.handler)},
            {"scale", stream.scale},
            {"rate", stream.rate},
            {"start", stream.start},
            {"length", stream.length},
            {"suggested_buffer", stream.suggestedBuffer},
            {"name", ViewOrNull(stream.name)},
            {"language", ViewOrNull(stream.language)},
            {"super_index", stream.superIndex},
            {"duration", timed ? Json(Ratio(stream.length, stream.rate) * stream.scale) : Json()}};
}

void AddVideoFormat(const StreamReport& stream, Json& json) {
    const bool timed = stream.rate != 0 && stream.scale != 0;
    json["fourcc"] = DisplayText(stream.compression);
    json["width"] = stream.width;
    json["height"] = stream.height;
    json["display_aspect_ratio"] = stream.aspectX && stream.aspectY ? Json(Ratio(stream.aspectX, stream.aspectY))
                                   : stream.width && stream.height ? Json(Ratio(stream.width, stream.height))
                                                                   : Json();
    json["scan_type"] = stream.fieldsPerFrame == 1   ? Json("progressive")
                        : stream.fieldsPerFrame == 2 ? Json("interlaced")
                                                     : Json();
    json["frame_rate"] = timed ? Json(Ratio(stream.rate, stream.scale)) : Json();
    json["frame_rate_fraction"] = timed ? Json(Fraction(stream.rate, stream.scale)) : Json();
    json["frames"] = stream.length;
}

// What the first chunks say; only the keys of the stream's kind.
Json BitstreamJson(const VideoBitstream& bits) {
    using Kind = VideoBitstream::Kind;
    if (bits.kind == Kind::Unknown) return Json::object();
    const std::optional<std::string> profile = VideoProfileName(bits);
    Json json{{"name", bits.kind == Kind::H264 ? "AVC" : "MPEG-4 Visual"},
              {"profile", profile ? Json(*profile) : Json()},
              {"encoder", ViewOrNull(bits.encoder)},
              {"encoder_settings", ViewOrNull(bits.encoderSettings)},
              {"pixel_aspect_ratio", bits.pixelAspectX && bits.pixelAspectY
                                         ? Json(std::to_string(bits.pixelAspectX) + ":" + std::to_string(bits.pixelAspectY))
                                         : Json()},
              {"interlaced", bits.interlaced}};
    if (bits.kind == Kind::Mpeg4Part2) {
        json["packed_bitstream"] = bits.packed;
        json["consecutive_b_frames"] = bits.mostConsecutiveB;
        json["quarter_pel"] = bits.quarterPel;
        json["gmc_warp_points"] = bits.warpPoints;
    }
    return json;
}

// The first video stream: what the window shows, as numbers.
void AddFirstVideo(const VideoReport& video, Json& json) {
    const bool timed = video.rate != 0 && video.scale != 0;
    json["fourcc"] = DisplayText(video.compression);
    json["codec"] = video.codecKnown ? TextOrNull(video.codec) : Json();
    json["vendor"] = video.codecKnown ? TextOrNull(video.vendor) : Json();
    json["decoder_installed"] = video.decoderInstalled;
    json["width"] = video.width;
    json["height"] = video.height;
    json["display_aspect_ratio"] = video.declaredAspect             ? Json(*video.declaredAspect)
                                   : video.width && video.height ? Json(Ratio(video.width, video.height))
                                                                 : Json();
    json["frame_rate"] = timed ? Json(video.framesPerSecond) : Json();
    json["frame_rate_fraction"] = timed ? Json(Fraction(video.rate, video.scale)) : Json();
    json["frames"] = video.frames;
    json["duration"] = timed ? Json(video.seconds) : Json();
    json["bitrate"] = video.bytesPerSecond ? BitsPerSecond(*video.bytesPerSecond) : Json();
    json["format"] = BitstreamJson(video.bitstream);
}

void AddAudioFormat(const StreamReport& stream, Json& json) {
    json["format_tag"] = stream.formatTag;
    json["format"] = AudioFormatName(stream.formatTag);
    json["channels"] = stream.channels;
    json["channel_layout"] = ChannelLayoutName(stream.channels, stream.channelMask);
    json["sample_rate"] = stream.sampleRate;
    json["bits_per_sample"] = stream.bitsPerSample ? Json(stream.bitsPerSample) : Json();
    json["bitrate"] = stream.bytesPerSecond ? BitsPerSecond(stream.bytesPerSecond) : Json();
}

// The first audio stream: its data's rate, CBR or VBR and encoder too.
void AddFirstAudio(const AudioReport& audio, Json& json) {
    json["format_tag"] = audio.formatTag;
    json["format"] = AudioFormatName(audio.formatTag);
    json["bitrate"] = audio.bytesPerSecond ? BitsPerSecond(audio.bytesPerSecond) : Json();
    json["bitrate_mode"] = audio.scan.verdict == kVerdictVbr   ? Json("VBR")
                           : audio.scan.verdict == kVerdictCbr ? Json("CBR")
                                                               : Json();
    const char* encoder = audio.scan.tag.text[0] ? audio.scan.tag.text : audio.scan.frameTag.text;
    json["encoder"] = encoder[0] ? Json(DisplayText(encoder)) : Json();
    json["coded_channels"] = audio.codedChannels ? Json(*audio.codedChannels) : Json();
}

}  // namespace

Json FactsJson(const AviReport& report, const std::string& path) {
    Json facts;
    facts["file_type"] = FileTypeName(report.type);
    facts["size"] = report.size ? Json(*report.size) : Json();
    facts["missing_bytes"] = report.missingBytes;
    facts["chunk_tree_valid"] = report.walked;
    facts["opendml"] = report.opendml;
    facts["duration"] = report.video && report.video->rate && report.video->scale ? Json(report.video->seconds) : Json();
    facts["streams"] = Json::array();
    for (const StreamReport& stream : report.streams) {
        Json json = StreamJson(stream);
        const bool first = (report.video && report.video->index == stream.index) ||
                           (report.audio && report.audio->index == stream.index);
        if (stream.type == StreamType::Video) AddVideoFormat(stream, json);
        if (stream.type == StreamType::Audio) AddAudioFormat(stream, json);
        if (first && stream.type == StreamType::Video) AddFirstVideo(*report.video, json);
        if (first && stream.type == StreamType::Audio) AddFirstAudio(*report.audio, json);
        facts["streams"].push_back(std::move(json));
    }
    const std::optional<std::string> date = RecordedDate(report.recordedText);
    facts["recorded"] = date ? Json(*date) : Json();
    const auto timeCode = std::find_if(report.rows.begin(), report.rows.end(),
                                       [](const InfoRow& row) { return row.location && row.code == "ISMP"; });
    facts["time_code"] = timeCode != report.rows.end() ? Json(DisplayText(timeCode->text)) : Json();
    facts["tags"] = Json::object();
    facts["junk_texts"] = Json::array();
    for (const InfoRow& row : report.rows) {
        const std::string code = DisplayText(row.code);
        if (!row.location)
            facts["junk_texts"].push_back(DisplayText(row.text));
        else if (!facts["tags"].contains(code))
            facts["tags"][code] = DisplayText(row.text);
    }
    const bool superIndex = std::any_of(report.streams.begin(), report.streams.end(),
                                        [](const StreamReport& stream) { return stream.superIndex; });
    facts["advice"] = Advice(report, path);
    facts["index"] = {{"legacy_entries", report.legacyIndexEntries ? Json(*report.legacyIndexEntries) : Json()},
                      {"opendml", superIndex}};
    return facts;
}

}  // namespace quibo
