// MessageBoxes that records every message and answers from a script (Ok
// once the script is used up).
#pragma once

#include <deque>
#include <vector>

#include "platform/message_boxes.h"

namespace quibo::test {

class ScriptedMessageBoxes final : public MessageBoxes {
public:
    void Answer(MessageAnswer answer) { script_.push_back(answer); }

    MessageAnswer Show(const Message& message) override {
        shown_.push_back(message);
        if (script_.empty()) return MessageAnswer::Ok;
        MessageAnswer answer = script_.front();
        script_.pop_front();
        return answer;
    }

    const std::vector<Message>& Shown() const { return shown_; }
    // Drops the answers no question asked for.
    void ForgetUnused() { script_.clear(); }

private:
    std::deque<MessageAnswer> script_;
    std::vector<Message> shown_;
};

}  // namespace quibo::test
