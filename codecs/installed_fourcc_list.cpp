// SPDX-License-Identifier: GPL-3.0-or-later
#include "codecs/installed_fourcc_list.h"

#include <strings.h>

namespace quibo {

void InstalledFourCCList::FillIfPending() const {
    if (!pendingFill_) return;
    std::function<Entries()> fill = std::move(pendingFill_);
    pendingFill_ = nullptr;
    codes_ = fill();
}

bool InstalledFourCCList::HasEither(const char* compression, const char* handler) const {
    for (const std::string& code : Codes()) {
        if (code.empty()) break;  // the list ends at its first empty entry
        if (::strcasecmp(code.c_str(), compression) == 0 || ::strcasecmp(code.c_str(), handler) == 0) return true;
    }
    return false;
}

}  // namespace quibo
