// FileDialogs that records each request and answers from a script: a path,
// or nothing for Cancel (also once the script is used up).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_dialogs.h"

namespace quibo::test {

class ScriptedFileDialogs final : public FileDialogs {
public:
    void Answer(std::optional<std::string> path) { script_.push_back(std::move(path)); }

    std::optional<std::string> AskOpenPath(const FileDialogRequest& request) override {
        requests_.push_back(request);
        if (script_.empty()) return std::nullopt;
        std::optional<std::string> answer = script_.front();
        script_.pop_front();
        return answer;
    }

    const std::vector<FileDialogRequest>& Requests() const { return requests_; }

private:
    std::deque<std::optional<std::string>> script_;
    std::vector<FileDialogRequest> requests_;
};

}  // namespace quibo::test
