// SPDX-License-Identifier: GPL-3.0-or-later
// The window's texts as lines of text: each group's fields under its name,
// then one line per row of the RIFF Info list. quibo-info prints it, and
// the window prints what it shows in the same form.
#pragma once

#include <string>

#include "platform/recorded_fields.h"

namespace quibo {

std::string WindowReportText(const RecordedFields& fields);

}  // namespace quibo
