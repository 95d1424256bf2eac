// SPDX-License-Identifier: GPL-3.0-or-later
// The FourCC handler codes of the video decoders installed on this machine.
// The list ends at its first empty entry. It can be filled when it is first
// read rather than when it is set up, so that a run that never reads it
// never asks the platform.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quibo {

class InstalledFourCCList {
public:
    using Entries = std::vector<std::string>;

    // `fill` gives the list's entries the first time the list is read.
    void FillOnFirstRead(std::function<Entries()> fill) { pendingFill_ = std::move(fill); }
    void Add(std::string fourCC) {
        FillIfPending();
        codes_.push_back(std::move(fourCC));
    }
    // Empties the list, dropping a fill still to come.
    void Clear() {
        pendingFill_ = nullptr;
        codes_.clear();
    }
    const Entries& Codes() const {
        FillIfPending();
        return codes_;
    }
    // Whether any entry equals `compression` or `handler` as a whole text,
    // ignoring letter case.
    bool HasEither(const char* compression, const char* handler) const;

private:
    void FillIfPending() const;

    mutable std::function<Entries()> pendingFill_;
    mutable Entries codes_;
};

}  // namespace quibo
