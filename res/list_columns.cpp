// SPDX-License-Identifier: GPL-3.0-or-later
#include "res/list_columns.h"

namespace quibo {
namespace {

constexpr ListColumn kInfoList[] = {
    {"Code", 50, "Four character identifier designating type of INFO"},
    {"Name", 125, "Name of the field corresponding to 'code'"},
    {"Contents", 150, "Text found in this file in the INFO field"},
};

constexpr ListColumn kSupportedCodecs[] = {
    {"FourCC", 75, "Four character code which identifies the codec"},
    {"Codec", 175, "Codec's full name and/or description"},
    {"Vendor", 190, "Manufacturer or organization responsible for this codec"},
};

constexpr ListColumn kInstalledCodecs[] = {
    {"FourCC", 75, "Four character code which identifies the codec"},
    {"Codec: Installed Name (from O/S)", 240, "Codec name as returned by the operating system"},
    {"Description (Quibo)", 140, "Codec 'description' of the matching entry in Quibo database"},
    {"Vendor (Quibo)", 130, "Codec 'vendor' info of the matching entry in Quibo database"},
};

}  // namespace

std::span<const ListColumn> InfoListColumns() { return kInfoList; }
std::span<const ListColumn> SupportedCodecColumns() { return kSupportedCodecs; }
std::span<const ListColumn> InstalledCodecColumns() { return kInstalledCodecs; }

}  // namespace quibo
