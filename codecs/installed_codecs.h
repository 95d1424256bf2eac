// SPDX-License-Identifier: GPL-3.0-or-later
// The video codecs installed on this machine: the rows of the installed-codecs
// list, with the description and vendor of each from the codec database, and
// the FourCC list that the video status check reads.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "codecs/codec_database.h"
#include "codecs/installed_fourcc_list.h"
#include "platform/installed_decoder_source.h"

namespace quibo {

struct InstalledCodecRow {
    std::string fourCC;  // upper case
    std::string name;    // as the platform gives it
    std::string description;
    std::string vendor;
};

// The FourCC text of a decoder whose handler the platform does not give.
inline constexpr const char* kMissingHandler = "-  -";
// Longest text of a cell of the installed-codecs list.
inline constexpr std::size_t kInstalledCellLength = 63;

// Walks `source` in its order; a decoder without a name is skipped. With
// `listWith`, returns a row per decoder looked up in that database; with
// `target`, adds each decoder's FourCC (its first 4 characters) to it.
std::vector<InstalledCodecRow> EnumerateInstalledCodecs(InstalledDecoderSource& source,
                                                        const CodecDatabase* listWith,
                                                        InstalledFourCCList* target);

// The name of the first named decoder listed under `fourCC`, ignoring letter
// case; empty when none is.
std::string DecoderNameFor(const std::vector<InstalledDecoder>& decoders, const std::string& fourCC);

// Sets `target` to be filled from `source` when it is first read. `source`
// must outlive `target`.
void CollectInstalledFourCCs(InstalledDecoderSource& source, InstalledFourCCList& target);

// Description and vendor of the first record whose FourCC equals `fourCC` as
// a whole text, ignoring letter case; empty texts when none does.
std::pair<std::string, std::string> FindInstalledCodecInfo(const CodecDatabase& database, const std::string& fourCC);

}  // namespace quibo
