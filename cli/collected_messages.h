// SPDX-License-Identifier: GPL-3.0-or-later
// Message boxes of the headless front end: each one is kept, in order, for
// the report; a confirmation is answered as the command line asked.
#pragma once

#include <vector>

#include "platform/message_boxes.h"

namespace quibo {

class CollectedMessages final : public MessageBoxes {
public:
    MessageAnswer Show(const Message& message) override {
        messages_.push_back(message);
        // The command line is the user's confirmation. An unsaved-changes
        // question is answered No: edits that did not reach the disk are
        // dropped, never written unasked.
        return message.buttons == MessageButtons::YesNoCancel ? MessageAnswer::No : MessageAnswer::Ok;
    }
    const std::vector<Message>& All() const { return messages_; }
    void Clear() { messages_.clear(); }

private:
    std::vector<Message> messages_;
};

}  // namespace quibo
