// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/codec_listings.h"

#include <nlohmann/json.hpp>
#include <string>

#include "codecs/installed_codecs.h"
#include "info/display_text.h"
#include "res/list_columns.h"

namespace quibo {
namespace {

using Json = nlohmann::ordered_json;

struct Listing {
    std::string title;
    std::vector<std::string> headings;  // the list's column headings
    std::vector<const char*> keys;      // the same columns in JSON
    std::vector<std::vector<std::string>> rows;
};

std::string Text(const char* text) { return text ? DisplayText(text) : ""; }

// The list's column headings, as the window's list shows them.
std::vector<std::string> Headings(std::span<const ListColumn> columns) {
    std::vector<std::string> headings;
    for (const ListColumn& column : columns) headings.emplace_back(column.heading);
    return headings;
}

Listing SupportedCodecs(const CodecDatabase& database) {
    Listing listing{"", Headings(SupportedCodecColumns()), {"fourcc", "codec", "vendor"}, {}};
    for (const CodecEntry& entry : database.ListedEntries())
        listing.rows.push_back({Text(entry.fourCC), Text(entry.description), Text(entry.vendor)});
    listing.title = "Supported Video Codecs - " + std::to_string(listing.rows.size()) + " Found";
    return listing;
}

Listing InstalledCodecs(const CodecDatabase& database, InstalledDecoderSource& decoders) {
    Listing listing{"Video Codecs Installed on this Machine",
                    Headings(InstalledCodecColumns()),
                    {"fourcc", "installed_name", "description", "vendor"},
                    {}};
    for (const InstalledCodecRow& row : EnumerateInstalledCodecs(decoders, &database, nullptr))
        listing.rows.push_back(
            {DisplayText(row.fourCC), DisplayText(row.name), DisplayText(row.description), DisplayText(row.vendor)});
    return listing;
}

void PrintLine(const std::vector<std::string>& columns, std::ostream& out) {
    for (std::size_t column = 0; column < columns.size(); ++column) out << (column ? "\t" : "") << columns[column];
    out << '\n';
}

// The title, then the headings and the rows, their columns apart by TAB.
void PrintText(const Listing& listing, std::ostream& out) {
    out << listing.title << '\n';
    PrintLine(listing.headings, out);
    for (const std::vector<std::string>& row : listing.rows) PrintLine(row, out);
}

void PrintJson(const Listing& listing, const std::vector<Message>& messages, std::ostream& out) {
    Json json;
    json["title"] = listing.title;
    json["count"] = listing.rows.size();
    json["codecs"] = Json::array();
    for (const std::vector<std::string>& row : listing.rows) {
        Json item;
        for (std::size_t column = 0; column < row.size(); ++column) item[listing.keys[column]] = row[column];
        json["codecs"].push_back(std::move(item));
    }
    json["messages"] = Json::array();
    for (const Message& message : messages)
        json["messages"].push_back({{"caption", message.caption}, {"text", message.text}});
    out << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace

void PrintCodecListing(CodecListing which, const CodecDatabase& database, InstalledDecoderSource& decoders,
                       bool json, const std::vector<Message>& messages, std::ostream& out) {
    Listing listing = which == CodecListing::Supported ? SupportedCodecs(database) : InstalledCodecs(database, decoders);
    if (json)
        PrintJson(listing, messages, out);
    else
        PrintText(listing, out);
}

}  // namespace quibo
