// SPDX-License-Identifier: GPL-3.0-or-later
// Which codes a new or renamed INFO field may take: only those that the
// walk reads back as a field and that can be edited again.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quibo {

// Why `code` cannot name a field, in words for the user; nothing when it
// can. A code is four ASCII letters, digits or spaces, not beginning with a
// space, and is neither a chunk list's id (RIFF, LIST) nor JUNK in any
// letter case.
std::optional<std::string> FieldCodeProblem(std::string_view code);

}  // namespace quibo
