// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/file_report.h"

#include <map>

#include "res/control_ids.h"
#include "res/main_window_fields.h"

namespace quibo {
namespace {

const char* JsonKey(int controlId) {
    static const std::map<int, const char*> kKeys = {
        {control::kFileName, "filename"},      {control::kFileSize, "size"},
        {control::kFileDate, "date"},          {control::kFileStatus, "status"},
        {control::kVideoFourCC, "fourcc"},     {control::kVideoCodec, "codec"},
        {control::kVideoVendor, "vendor"},     {control::kVideoStatus, "status"},
        {control::kVideoAspect, "aspect_ratio"}, {control::kVideoFrameRate, "frame_rate"},
        {control::kVideoDuration, "duration"}, {control::kVideoBitrate, "bitrate"},
        {control::kAudioEncoding, "encoding"}, {control::kAudioBitrate, "bitrate"},
    };
    return kKeys.at(controlId);
}

const char* JsonGroup(FieldGroup group) {
    switch (group) {
        case FieldGroup::General: return "general";
        case FieldGroup::Video: return "video";
        case FieldGroup::Audio: return "audio";
    }
    return "";
}

}  // namespace

nlohmann::ordered_json ReportJson(const FileReport& report) {
    nlohmann::ordered_json json;
    json["file"] = report.path;
    for (const FieldSpec& field : MainWindowFields())
        json[JsonGroup(field.group)][JsonKey(field.controlId)] = report.fields->Text(field.controlId);
    json["info"] = nlohmann::ordered_json::array();
    for (const InfoRowText& row : report.fields->Rows())
        json["info"].push_back({{"code", row.code}, {"name", row.name}, {"contents", row.contents}});
    json["facts"] = report.facts ? FactsJson(*report.facts, report.path) : nlohmann::ordered_json();
    json["messages"] = nlohmann::ordered_json::array();
    for (const Message& message : report.messages)
        json["messages"].push_back({{"caption", message.caption}, {"text", message.text}});
    return json;
}

}  // namespace quibo
