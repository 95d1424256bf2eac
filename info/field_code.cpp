// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/field_code.h"

#include <algorithm>
#include <strings.h>

namespace quibo {
namespace {

bool IsAsciiLetterOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

}  // namespace

std::optional<std::string> FieldCodeProblem(std::string_view code) {
    const std::string quoted = "\"" + std::string(code) + "\"";
    if (code.size() != 4) return "a field code has four characters: " + quoted;
    // A leading space hides the field from editing; other bytes are not
    // shown as they are.
    bool plain = IsAsciiLetterOrDigit(code[0]) &&
                 std::all_of(code.begin() + 1, code.end(), [](char c) { return c == ' ' || IsAsciiLetterOrDigit(c); });
    if (!plain) return "a field code is four letters, digits or spaces, not beginning with a space: " + quoted;
    // Read back as a list of chunks made of the text, the file would no
    // longer open.
    if (code == "RIFF" || code == "LIST") return quoted + " names a list of chunks, not a field";
    if (::strncasecmp(code.data(), "JUNK", 4) == 0) return quoted + " names filler, not a field";
    return std::nullopt;
}

}  // namespace quibo
