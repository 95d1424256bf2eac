// A fresh directory for one test's real files, removed with everything in
// it at the end; reading such a file whole, and running the tools that
// make them.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quibo::test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quibo-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

    // Writes `bytes` to `name` in this directory and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::string path = *this / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool HaveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command with no input and its output thrown away.
inline bool RunQuietly(const std::string& command) {
    return std::system((command + " </dev/null >/dev/null 2>&1").c_str()) == 0;
}

// What keeps the JSON in the file `path` from matching the JSON Schema in
// the file `schema`, checked by Python's jsonschema; empty when it matches.
inline std::string SchemaErrors(const std::string& schema, const std::string& path) {
    const std::string errors = path + ".schema-errors";
    std::system(("python3 -c 'import json, sys, jsonschema; jsonschema.validate(json.load(open(sys.argv[2])),"
                 " json.load(open(sys.argv[1])))' '" + schema + "' '" + path + "' >'" + errors + "' 2>&1")
                    .c_str());
    return ReadAll(errors);
}

}  // namespace quibo::test
