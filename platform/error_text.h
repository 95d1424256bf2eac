// SPDX-License-Identifier: GPL-3.0-or-later
// The system's description of an errno value.
#pragma once

#include <string>

namespace quibo {

std::string SystemErrorText(int error);

}  // namespace quibo
