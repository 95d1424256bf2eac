#include "codecs/installed_fourcc_list.h"

#include <strings.h>

namespace quibo {

bool InstalledFourCCList::HasEither(const char* compression, const char* handler) const {
    for (const std::string& code : codes_) {
        if (code.empty()) break;  // the list ends at its first empty entry
        if (::strcasecmp(code.c_str(), compression) == 0 || ::strcasecmp(code.c_str(), handler) == 0) return true;
    }
    return false;
}

}  // namespace quibo
