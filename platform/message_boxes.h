// SPDX-License-Identifier: GPL-3.0-or-later
// Modal message boxes owned by the main window.
#pragma once

#include <string>

namespace quibo {

enum class MessageIcon { None, Stop, Information, Exclamation, Question };
enum class MessageButtons { Ok, OkCancel, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Message {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer Show(const Message& message) = 0;
};

}  // namespace quibo
