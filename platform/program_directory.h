// SPDX-License-Identifier: GPL-3.0-or-later
// The folder of the running executable, ended by "/"; empty when unknown.
#pragma once

#include <string>

namespace quibo {

std::string ProgramDirectory();

}  // namespace quibo
