// SPDX-License-Identifier: GPL-3.0-or-later
// quibo-info's two codec listings: every codec of the database, as the
// supported-codecs list shows it, and the video decoders installed on this
// machine, as the installed-codecs list shows them. Text or JSON.
#pragma once

#include <ostream>
#include <vector>

#include "codecs/codec_database.h"
#include "platform/installed_decoder_source.h"
#include "platform/message_boxes.h"

namespace quibo {

enum class CodecListing { Supported, Installed };

// Writes `listing` to `out`; the JSON form carries what start-up said in
// `messages`.
void PrintCodecListing(CodecListing listing, const CodecDatabase& database, InstalledDecoderSource& decoders,
                       bool json, const std::vector<Message>& messages, std::ostream& out);

}  // namespace quibo
