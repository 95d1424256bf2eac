// A CopyObserver that answers the replace question as told, can cancel the
// copy or kill its process at a chosen progress report, and records what it
// was told.
#pragma once

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_copy.h"

namespace quibo::test {

class RecordingCopyObserver final : public CopyObserver {
public:
    bool ConfirmReplace(const std::string& target) override {
        replaceAsked.push_back(target);
        return allowReplace;
    }
    bool Progress(std::uint64_t done, std::uint64_t total) override {
        (void)done;
        (void)total;
        if (++progressReports == killAtReport) ::raise(SIGKILL);
        return progressReports != cancelAtReport;
    }
    void Failed(const std::string& text) override { failures.push_back(text); }

    bool allowReplace = false;
    int cancelAtReport = 0;  // the report (counted from 1) that cancels; 0: none
    int killAtReport = 0;    // the report that ends the process at once; 0: none
    int progressReports = 0;
    std::vector<std::string> replaceAsked;
    std::vector<std::string> failures;
};

}  // namespace quibo::test
