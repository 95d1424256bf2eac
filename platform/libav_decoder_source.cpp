// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/libav_decoder_source.h"

#if QUIBO_WITH_LIBAV
#include <dlfcn.h>

#include "riff/riff_layout.h"

#include <cstddef>
#include <initializer_list>
#include <unordered_set>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}
#endif

namespace quibo {

#if QUIBO_WITH_LIBAV
namespace {

// An entry of libavformat's tag tables. The public headers declare
// AVCodecTag without its members; the walk below checks every entry it reads
// against the library's own lookup before trusting this layout.
struct TagEntry {
    AVCodecID id;
    unsigned int tag;
};

// Far beyond any table of the library: a walk that meets no end within it
// has misread the table.
constexpr std::size_t kMaxTagEntries = 4096;

void* OpenFirst(std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (void* handle = ::dlopen(name, RTLD_LAZY | RTLD_LOCAL)) return handle;
    return nullptr;
}

template <typename Function>
bool Resolve(void* library, const char* name, Function*& function) {
    function = reinterpret_cast<Function*>(::dlsym(library, name));
    return function != nullptr;
}

std::string DecoderName(const AVCodec& decoder) {
    return std::string(decoder.long_name ? decoder.long_name : decoder.name) + " (libavcodec " + decoder.name + ")";
}

}  // namespace

// The libraries stay loaded for the rest of the process: FFmpeg and the
// libraries it pulls in keep global state that is not made to be unloaded.
struct LibavDecoderSource::Libraries {
    void Load() {
        format = OpenFirst({"libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR), "libavformat.so"});
        codec = OpenFirst({"libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR), "libavcodec.so"});
        ready = format && codec && Resolve(format, "avformat_get_riff_video_tags", riffVideoTags) &&
                Resolve(format, "av_codec_get_id", codecId) && Resolve(codec, "avcodec_find_decoder", findDecoder);
    }

    std::vector<InstalledDecoder> Decoders() const {
        if (!ready) return {};
        const AVCodecTag* table = riffVideoTags();
        const AVCodecTag* const tables[] = {table, nullptr};
        const auto* entries = reinterpret_cast<const TagEntry*>(table);
        std::vector<InstalledDecoder> decoders;
        std::unordered_set<unsigned int> seen;
        for (std::size_t i = 0;; ++i) {
            if (i == kMaxTagEntries) return {};
            const TagEntry& entry = entries[i];
            if (entry.id == AV_CODEC_ID_NONE) break;
            // A tag met again never decides: the lookup answers with its
            // first entry, which must be this one.
            if (!seen.insert(entry.tag).second) continue;
            if (codecId(tables, entry.tag) != entry.id) return {};
            const AVCodec* decoder = findDecoder(entry.id);
            // The numbered tags (uncompressed, run lengths) get the texts the
            // video facts show for them; an empty text would end the list.
            std::string fourCC = bitmap_info::CompressionText(entry.tag);
            if (decoder == nullptr || fourCC.empty()) continue;
            decoders.push_back({DecoderName(*decoder), std::move(fourCC)});
        }
        return decoders;
    }

    bool ready = false;
    void* format = nullptr;
    void* codec = nullptr;
    decltype(avformat_get_riff_video_tags)* riffVideoTags = nullptr;
    decltype(av_codec_get_id)* codecId = nullptr;
    decltype(avcodec_find_decoder)* findDecoder = nullptr;
};

// The list's form is part of its identity: a list remembered before the
// numbered tags were named must not stand in for one made now.
std::string LibavDecoderSource::Identity() {
    return "libavformat " AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR) " libavcodec " AV_STRINGIFY(
        LIBAVCODEC_VERSION_MAJOR) ", numbered tags named";
}

std::vector<InstalledDecoder> LibavDecoderSource::Decoders() {
    if (!libraries_) {
        libraries_ = std::make_unique<Libraries>();
        libraries_->Load();
    }
    return libraries_->Decoders();
}

#else

// Built without FFmpeg's headers: no decoder can be told.
struct LibavDecoderSource::Libraries {};

std::string LibavDecoderSource::Identity() { return "none"; }

std::vector<InstalledDecoder> LibavDecoderSource::Decoders() { return {}; }

#endif

LibavDecoderSource::LibavDecoderSource() = default;
LibavDecoderSource::~LibavDecoderSource() = default;

}  // namespace quibo
