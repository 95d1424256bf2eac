// SPDX-License-Identifier: GPL-3.0-or-later
// INFO texts are bytes: shown as UTF-8 when they are valid UTF-8, else read
// as Windows-1252, the ANSI code page of older files.
#pragma once

#include <string>
#include <string_view>

namespace quibo {

bool IsValidUtf8(std::string_view bytes);
std::string DisplayText(std::string_view bytes);

}  // namespace quibo
