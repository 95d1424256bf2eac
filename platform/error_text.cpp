// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/error_text.h"

#include <cstring>

namespace quibo {

std::string SystemErrorText(int error) {
    if (error == 0) return {};
    char buffer[256];
    // GNU strerror_r returns the text, which may or may not live in `buffer`.
    const char* text = ::strerror_r(error, buffer, sizeof buffer);
    return text ? std::string(text) : std::string();
}

}  // namespace quibo
