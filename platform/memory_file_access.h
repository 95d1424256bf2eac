// A file held in memory and served to the core under its own path, so that
// a benchmark or a fuzzer drives the core's work and not the disk. The held
// bytes may be followed by a run of one repeated byte that is never stored,
// to stand for a file far larger than memory. Any other path, such as the
// codec database, comes from the file system.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_access.h"
#include "platform/posix_file_access.h"

namespace quibo {

struct FileBytes {
    std::vector<std::uint8_t> bytes;
    std::uint64_t tailLength = 0;  // bytes of `tailByte` after `bytes`
    std::uint8_t tailByte = 0;
    std::time_t lastWrite = 0;
};

inline bool LoadFile(const std::string& path, FileBytes& file) {
    std::ifstream in(path, std::ios::binary);
    struct stat info {};
    if (!in || ::stat(path.c_str(), &info) != 0) return false;
    file.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    file.tailLength = 0;
    file.lastWrite = info.st_mtime;
    return !in.bad();
}

class MemoryFileHandle final : public FileHandle {
public:
    explicit MemoryFileHandle(const FileBytes& file) : file_(file) {}

    ReadResult ReadAt(std::uint64_t offset, std::uint8_t* buffer, std::size_t count) override {
        const std::uint64_t stored = file_.bytes.size(), total = stored + file_.tailLength;
        if (offset >= total) return {true, 0, 0};
        count = static_cast<std::size_t>(std::min<std::uint64_t>(count, total - offset));
        std::size_t held = offset < stored ? static_cast<std::size_t>(std::min<std::uint64_t>(count, stored - offset)) : 0;
        if (held > 0) std::memcpy(buffer, file_.bytes.data() + offset, held);
        std::memset(buffer + held, file_.tailByte, count - held);
        return {true, count, 0};
    }
    SizeResult Size() override { return {true, static_cast<std::int64_t>(file_.bytes.size() + file_.tailLength), 0}; }
    TimeResult LastWriteTime() override { return {true, file_.lastWrite, 0}; }

private:
    const FileBytes& file_;
};

class MemoryFileAccess final : public FileAccess {
public:
    MemoryFileAccess(std::string path, const FileBytes& file) : path_(std::move(path)), file_(file) {}
    OpenResult OpenExclusiveRead(const std::string& path) override {
        if (path != path_) return disk_.OpenExclusiveRead(path);
        return {std::make_unique<MemoryFileHandle>(file_), 0};
    }

private:
    std::string path_;
    const FileBytes& file_;
    PosixFileAccess disk_;
};

}  // namespace quibo
