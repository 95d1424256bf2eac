// SPDX-License-Identifier: GPL-3.0-or-later
// The installed video decoders as FFmpeg sees them: every FourCC of
// libavformat's RIFF video tag table (the mapping AVI demuxing uses) whose
// codec libavcodec can decode. The libraries are loaded on the first call,
// so a run that never asks pays nothing for them; when they cannot be
// loaded, or the program was built without their headers, there are none.
#pragma once

#include <memory>
#include <string>

#include "platform/installed_decoder_source.h"

namespace quibo {

class LibavDecoderSource final : public InstalledDecoderSource {
public:
    LibavDecoderSource();
    ~LibavDecoderSource() override;
    std::vector<InstalledDecoder> Decoders() override;
    // Which libraries the source asks: their major versions, or "none".
    static std::string Identity();

private:
    struct Libraries;
    std::unique_ptr<Libraries> libraries_;
};

}  // namespace quibo
