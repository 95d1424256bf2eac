// SPDX-License-Identifier: GPL-3.0-or-later
// The recording date of an IDIT field as ISO 8601. Cameras write it as C's
// asctime does ("SAT DEC 06 21:16:31 2008", any letter case), some as
// "2008:12:06 21:16:31" or with dashes or slashes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quibo {

// "2008-12-06T21:16:31"; nothing for a text in neither form.
std::optional<std::string> RecordedDate(std::string_view text);

}  // namespace quibo
