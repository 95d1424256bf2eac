// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh directory for one test's real files, removed with everything in it at the end; reading such a file whole, and
// running programs: the tools that make and read real files, and quibo-info.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

// `text` quoted for the shell.
inline std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct ProgramRun {
    // The exit status; 128 + N for a program that signal N ended, as the shell reports it.
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a shell command with no input, collecting what it prints.
inline ProgramRun RunProgram(const std::string& command) {
    const TempDir errors;
    ProgramRun run;
    if (FILE* pipe = ::popen((command + " </dev/null 2>" + Quoted(errors / "err")).c_str(), "r")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, got);
        const int raw = ::pclose(pipe);
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    run.err = ReadAll(errors / "err");
    return run;
}

#ifdef QUIBO_INFO_PATH
// Runs the built quibo-info with `args`; in the folder `dir`, whose Quibo.dat it then loads, when one is given.
inline ProgramRun RunQuiboInfo(const std::vector<std::string>& args, const std::string& dir = "") {
    std::string command = (dir.empty() ? "" : "cd " + Quoted(dir) + " && ") + Quoted(QUIBO_INFO_PATH);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    return RunProgram(command);
}
#endif

// What `command` prints, its last line breaks left out.
inline std::string Captured(const std::string& command) {
    std::string out = RunProgram(command).out;
    while (out.ends_with('\n')) out.pop_back();
    return out;
}

// What keeps the JSON `text` from matching the JSON Schema in the file
// `schema`, checked by Python's jsonschema; empty when it matches.
inline std::string SchemaErrors(const std::string& schema, const std::string& text) {
    const TempDir dir;
    const ProgramRun run =
        RunProgram("python3 -c 'import json, sys, jsonschema; jsonschema.validate(json.load(open(sys.argv[2])),"
                   " json.load(open(sys.argv[1])))' " + Quoted(schema) + " " + Quoted(dir.Write("out.json", text)));
    return run.out + run.err;
}

}  // namespace quibo::test
