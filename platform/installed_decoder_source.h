// SPDX-License-Identifier: GPL-3.0-or-later
// The video decoders installed on this machine, as the platform tells them:
// per decoder a display name and a FourCC handler code, either of which the
// platform may fail to give.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quibo {

struct InstalledDecoder {
    std::optional<std::string> name;
    std::optional<std::string> fourCC;
};

class InstalledDecoderSource {
public:
    virtual ~InstalledDecoderSource() = default;
    // Every installed decoder, in the source's own order.
    virtual std::vector<InstalledDecoder> Decoders() = 0;
};

}  // namespace quibo
