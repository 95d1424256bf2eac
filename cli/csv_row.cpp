// SPDX-License-Identifier: GPL-3.0-or-later
// One CSV row per file (RFC 4180), its values taken from the JSON facts of
// the first video and the first audio stream.
#include <string>

#include "cli/file_report.h"
#include "res/control_ids.h"

namespace quibo {
namespace {

using Json = nlohmann::ordered_json;

// Where each column's value lies in the facts: at the top, in the first
// stream of a type, or in the tags.
enum class From { Top, Video, Audio, Tag };
struct Column {
    const char* name;
    From from;
    const char* key;
};
constexpr Column kColumns[] = {
    {"file_type", From::Top, "file_type"},          {"size", From::Top, "size"},
    {"missing_bytes", From::Top, "missing_bytes"},  {"duration", From::Top, "duration"},
    {"video_fourcc", From::Video, "fourcc"},        {"video_codec", From::Video, "codec"},
    {"decoder_installed", From::Video, "decoder_installed"}, {"width", From::Video, "width"},
    {"height", From::Video, "height"},              {"display_aspect_ratio", From::Video, "display_aspect_ratio"},
    {"frame_rate", From::Video, "frame_rate"},      {"video_bitrate", From::Video, "bitrate"},
    {"audio_format", From::Audio, "format"},        {"channels", From::Audio, "channels"},
    {"sample_rate", From::Audio, "sample_rate"},    {"audio_bitrate", From::Audio, "bitrate"},
    {"audio_bitrate_mode", From::Audio, "bitrate_mode"}, {"title", From::Tag, "INAM"},
};

const Json* FirstStream(const Json& facts, const char* type) {
    for (const Json& stream : facts["streams"])
        if (stream["type"] == type) return &stream;
    return nullptr;
}

std::string Value(const Json* object, const char* key) {
    if (object == nullptr || !object->contains(key)) return {};
    const Json& value = (*object)[key];
    if (value.is_null()) return {};
    if (value.is_string()) return value.get<std::string>();
    return value.dump();
}

// Quoted when it holds a comma, a quote or a line break; quotes doubled.
std::string Field(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
    std::string quoted = "\"";
    for (char c : value) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

}  // namespace

std::string CsvHeader() {
    std::string header = "file";
    for (const Column& column : kColumns) header += std::string(",") + column.name;
    return header + ",status\r\n";
}

std::string CsvRow(const FileReport& report) {
    std::string row = Field(report.path);
    const Json facts = report.facts ? FactsJson(*report.facts, report.path) : Json::object();
    const Json* video = report.facts ? FirstStream(facts, "video") : nullptr;
    const Json* audio = report.facts ? FirstStream(facts, "audio") : nullptr;
    for (const Column& column : kColumns) {
        const Json* object = column.from == From::Video   ? video
                             : column.from == From::Audio ? audio
                             : column.from == From::Tag   ? (facts.contains("tags") ? &facts["tags"] : nullptr)
                                                          : &facts;
        row += "," + Field(Value(object, column.key));
    }
    // The window's status, or what kept the file from being read.
    std::string status = report.fields->Text(control::kFileStatus);
    if (!report.facts && !report.messages.empty()) status = report.messages.back().text;
    return row + "," + Field(status) + "\r\n";
}

}  // namespace quibo
