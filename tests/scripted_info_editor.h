// An InfoEditor that records what it was handed and answers from a script:
// OK with a new code and text, OK with what it was handed, or Cancel (also
// once the script is used up).
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "info/info_editor.h"

namespace quibo::test {

class ScriptedInfoEditor final : public InfoEditor {
public:
    struct Call {
        std::string text;
        std::string code;
        InfoEditKind mode;
    };

    void Answer(std::string code, std::string text) { script_.push_back(Reply{true, std::move(code), std::move(text)}); }
    void Confirm() { script_.push_back(Reply{true, std::nullopt, std::nullopt}); }
    void Cancel() { script_.push_back(Reply{false, std::nullopt, std::nullopt}); }

    bool Run(const InfoFieldName* codeTable, std::string& text, char (&code)[5], InfoEditKind mode) override {
        (void)codeTable;
        calls_.push_back({text, code, mode});
        if (script_.empty()) return false;
        Reply reply = script_.front();
        script_.pop_front();
        if (!reply.ok) return false;
        if (reply.code) {
            std::memset(code, 0, sizeof code);
            std::memcpy(code, reply.code->data(), std::min<std::size_t>(reply.code->size(), 4));
        }
        if (reply.text) text = *reply.text;
        return true;
    }

    // Drops the replies no command asked for.
    void ForgetUnused() { script_.clear(); }

    const std::vector<Call>& Calls() const { return calls_; }

private:
    struct Reply {
        bool ok;
        std::optional<std::string> code;
        std::optional<std::string> text;
    };
    std::deque<Reply> script_;
    std::vector<Call> calls_;
};

}  // namespace quibo::test
