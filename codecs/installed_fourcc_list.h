// The FourCC handler codes of the video decoders installed on this machine.
#pragma once

#include <string>
#include <vector>

namespace quibo {

class InstalledFourCCList {
public:
    void Add(std::string fourCC) { codes_.push_back(std::move(fourCC)); }
    void Clear() { codes_.clear(); }
    const std::vector<std::string>& Codes() const { return codes_; }
    // Whether any entry equals `compression` or `handler` as a whole text,
    // ignoring letter case.
    bool HasEither(const char* compression, const char* handler) const;

private:
    std::vector<std::string> codes_;
};

}  // namespace quibo
