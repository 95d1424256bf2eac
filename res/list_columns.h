// SPDX-License-Identifier: GPL-3.0-or-later
// The column tables of the program's lists: heading, nominal width in
// pixels and the heading's tooltip.
#pragma once

#include <span>

namespace quibo {

struct ListColumn {
    const char* heading;
    int width;
    const char* tooltip;
};

std::span<const ListColumn> InfoListColumns();
std::span<const ListColumn> SupportedCodecColumns();
std::span<const ListColumn> InstalledCodecColumns();

}  // namespace quibo
