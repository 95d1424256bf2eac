// The typed report as JSON: numbers as numbers, texts decoded, null where
// the file does not tell.
#include <cmath>
#include <numeric>
#include <string>

#include "analysis/audio_facts.h"
#include "cli/file_report.h"
#include "info/display_text.h"

namespace quibo {
namespace {

using Json = nlohmann::ordered_json;

Json TextOrNull(const char* text) { return text ? Json(DisplayText(text)) : Json(); }

// Bytes per second as whole bits per second.
Json BitsPerSecond(double bytesPerSecond) { return Json(std::llround(bytesPerSecond * 8)); }

void AddVideo(const VideoReport& video, Json& stream) {
    stream["fourcc"] = DisplayText(video.compression);
    stream["handler"] = DisplayText(video.handler);
    stream["codec"] = video.codecKnown ? TextOrNull(video.codec) : Json();
    stream["vendor"] = video.codecKnown ? TextOrNull(video.vendor) : Json();
    stream["decoder_installed"] = video.decoderInstalled;
    stream["width"] = video.width;
    stream["height"] = video.height;
    stream["display_aspect_ratio"] =
        video.width && video.height ? Json(static_cast<double>(video.width) / video.height) : Json();
    const bool timed = video.rate != 0 && video.scale != 0;
    stream["frame_rate"] = timed ? Json(video.framesPerSecond) : Json();
    const std::uint32_t common = timed ? std::gcd(video.rate, video.scale) : 1;
    stream["frame_rate_fraction"] =
        timed ? Json(std::to_string(video.rate / common) + "/" + std::to_string(video.scale / common)) : Json();
    stream["frames"] = video.frames;
    stream["duration"] = timed ? Json(video.seconds) : Json();
    stream["bitrate"] = video.bytesPerSecond ? BitsPerSecond(*video.bytesPerSecond) : Json();
    stream["format"] = Json::object();
}

void AddAudio(const AudioReport& audio, Json& stream) {
    stream["format_tag"] = audio.formatTag;
    stream["format"] = AudioFormatName(audio.formatTag);
    stream["channels"] = audio.channels;
    stream["sample_rate"] = audio.sampleRate;
    stream["bits_per_sample"] = audio.bitsPerSample ? Json(audio.bitsPerSample) : Json();
    stream["bitrate"] = audio.bytesPerSecond ? BitsPerSecond(audio.bytesPerSecond) : Json();
    stream["bitrate_mode"] = audio.scan.verdict == kVerdictVbr   ? Json("VBR")
                             : audio.scan.verdict == kVerdictCbr ? Json("CBR")
                                                                 : Json();
    stream["encoder"] = audio.scan.tag.text[0] ? Json(DisplayText(audio.scan.tag.text)) : Json();
}

}  // namespace

Json FactsJson(const AviReport& report) {
    Json facts;
    facts["file_type"] = FileTypeName(report.type);
    facts["size"] = report.size ? Json(*report.size) : Json();
    facts["missing_bytes"] = report.missingBytes;
    facts["chunk_tree_valid"] = report.walked;
    facts["opendml"] = report.opendml;
    facts["duration"] = report.video && report.video->rate && report.video->scale ? Json(report.video->seconds) : Json();
    facts["streams"] = Json::array();
    const std::vector<StreamType>& types = report.walk.streamTypes;
    for (std::size_t index = 0; index < types.size(); ++index) {
        Json stream{{"index", index}, {"type", StreamTypeName(types[index])}};
        if (report.video && static_cast<std::size_t>(report.video->index) == index) AddVideo(*report.video, stream);
        if (report.audio && static_cast<std::size_t>(report.audio->index) == index) AddAudio(*report.audio, stream);
        facts["streams"].push_back(std::move(stream));
    }
    facts["tags"] = Json::object();
    facts["junk_texts"] = Json::array();
    for (const InfoRow& row : report.rows) {
        const std::string code = DisplayText(row.code);
        if (!row.location)
            facts["junk_texts"].push_back(DisplayText(row.text));
        else if (!facts["tags"].contains(code))
            facts["tags"][code] = DisplayText(row.text);
    }
    facts["index"] = {{"legacy_entries", nullptr}, {"opendml", false}};
    return facts;
}

}  // namespace quibo
