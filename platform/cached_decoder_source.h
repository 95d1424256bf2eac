// SPDX-License-Identifier: GPL-3.0-or-later
// The installed decoders, remembered between runs: asking FFmpeg's libraries
// costs the loading of a hundred shared libraries, far more than a whole
// analysis, while their answer changes only when the system's libraries do.
// The answer is kept in a cache file together with a fingerprint of the
// dynamic loader's state; a changed fingerprint asks the libraries again.
#pragma once

#include <string>

#include "platform/installed_decoder_source.h"

namespace quibo {

class CachedDecoderSource final : public InstalledDecoderSource {
public:
    // `cacheFile` empty: no cache, every call asks `source`.
    CachedDecoderSource(InstalledDecoderSource& source, std::string cacheFile, std::string fingerprint)
        : source_(source), cacheFile_(std::move(cacheFile)), fingerprint_(std::move(fingerprint)) {}
    std::vector<InstalledDecoder> Decoders() override;

private:
    InstalledDecoderSource& source_;
    std::string cacheFile_;
    std::string fingerprint_;
};

// "$XDG_CACHE_HOME/quibo/installed-decoders", or under "$HOME/.cache"; empty
// when neither is set.
std::string DefaultDecoderCacheFile();

// What the dynamic loader would find: the state of its cache and the
// library path it searches first.
std::string LoaderFingerprint();

}  // namespace quibo
