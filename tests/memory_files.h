// SPDX-License-Identifier: GPL-3.0-or-later
// Files served from memory, so that tests, fuzzers and benchmarks drive the core's work and not the disk: any bytes,
// then, if asked, a run of one repeated byte that is never stored (a file far larger than memory); a chosen size,
// last-write time, or failure with a chosen errno at open or read. Handles read the file as it is at each read.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_access.h"

namespace quibo::test {

struct MemoryFile {
    std::string bytes;
    std::uint64_t tailLength = 0;  // bytes of `tailByte` after `bytes`
    std::uint8_t tailByte = 0;
    std::optional<std::int64_t> reportedSize = {};  // the bytes and the tail when unset
    std::time_t lastWrite = 0;
    int openError = 0;
    int readError = 0;
};

class MemoryFileHandle final : public FileHandle {
public:
    explicit MemoryFileHandle(const MemoryFile& file) : file_(file) {}

    ReadResult ReadAt(std::uint64_t offset, std::uint8_t* buffer, std::size_t count) override {
        if (file_.readError != 0) return {false, 0, file_.readError};
        const std::uint64_t stored = file_.bytes.size(), total = stored + file_.tailLength;
        if (offset >= total) return {true, 0, 0};
        count = static_cast<std::size_t>(std::min<std::uint64_t>(count, total - offset));
        const std::size_t held =
            offset < stored ? static_cast<std::size_t>(std::min<std::uint64_t>(count, stored - offset)) : 0;
        if (held > 0) std::memcpy(buffer, file_.bytes.data() + offset, held);
        std::memset(buffer + held, file_.tailByte, count - held);
        return {true, count, 0};
    }
    SizeResult Size() override {
        return {true, file_.reportedSize.value_or(static_cast<std::int64_t>(file_.bytes.size() + file_.tailLength)), 0};
    }
    TimeResult LastWriteTime() override { return {true, file_.lastWrite, 0}; }

private:
    const MemoryFile& file_;
};

class MemoryFiles final : public FileAccess {
public:
    // A fuzzer or benchmark opening millions of times keeps no list of paths.
    explicit MemoryFiles(bool listOpenedPaths = true) : listOpenedPaths_(listOpenedPaths) {}

    // Holds `bytes` at `path` from now on, in place of what it held.
    MemoryFile& Add(const std::string& path, std::string bytes) { return files_[path] = MemoryFile{std::move(bytes)}; }
    // Holds a copy of the file at `path` on disk; false when it cannot be read.
    bool AddFromDisk(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        Add(path, std::string(std::istreambuf_iterator<char>(in), {}));
        return in.good() || in.eof();
    }

    OpenResult OpenExclusiveRead(const std::string& path) override {
        if (listOpenedPaths_) opened_.push_back(path);
        auto found = files_.find(path);
        if (found == files_.end()) return {nullptr, ENOENT};
        if (found->second.openError != 0) return {nullptr, found->second.openError};
        return {std::make_unique<MemoryFileHandle>(found->second), 0};
    }

    // Every path asked for, in order.
    const std::vector<std::string>& Opened() const { return opened_; }

private:
    bool listOpenedPaths_;
    std::map<std::string, MemoryFile> files_;
    std::vector<std::string> opened_;
};

}  // namespace quibo::test
