// A FileAccess that serves files from memory: any bytes, any reported size
// (a huge file needs no disk), a chosen last-write time, or a failure with
// a chosen errno at open, read or size query.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_access.h"

namespace quibo::test {

struct FakeFile {
    std::string bytes;
    std::optional<std::int64_t> reportedSize;  // bytes.size() when unset
    std::time_t lastWrite = 0;
    int openError = 0;
    int readError = 0;
};

class FakeFileAccess final : public FileAccess {
public:
    FakeFile& Add(const std::string& path, std::string bytes) {
        FakeFile& file = files_[path] = FakeFile{};
        file.bytes = std::move(bytes);
        return file;
    }

    OpenResult OpenExclusiveRead(const std::string& path) override {
        opened_.push_back(path);
        auto found = files_.find(path);
        if (found == files_.end()) return {nullptr, ENOENT};
        if (found->second.openError != 0) return {nullptr, found->second.openError};
        return {std::make_unique<Handle>(found->second), 0};
    }

    // Every path asked for, in order.
    const std::vector<std::string>& Opened() const { return opened_; }

private:
    // Serves a copy taken at open time.
    class Handle final : public FileHandle {
    public:
        explicit Handle(FakeFile file) : file_(std::move(file)) {}
        ReadResult ReadAt(std::uint64_t offset, std::uint8_t* buffer, std::size_t count) override {
            if (file_.readError != 0) return {false, 0, file_.readError};
            if (offset >= file_.bytes.size()) return {true, 0, 0};
            std::size_t n = std::min<std::size_t>(count, file_.bytes.size() - offset);
            std::memcpy(buffer, file_.bytes.data() + offset, n);
            return {true, n, 0};
        }
        SizeResult Size() override {
            return {true, file_.reportedSize.value_or(static_cast<std::int64_t>(file_.bytes.size())), 0};
        }
        TimeResult LastWriteTime() override { return {true, file_.lastWrite, 0}; }

    private:
        FakeFile file_;
    };

    std::map<std::string, FakeFile> files_;
    std::vector<std::string> opened_;
};

}  // namespace quibo::test
