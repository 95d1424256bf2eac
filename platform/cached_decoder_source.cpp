// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/cached_decoder_source.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace quibo {
namespace {

constexpr const char* kFormatLine = "quibo installed decoders 1";

std::string StatText(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return path + " -";
    std::ostringstream text;
    text << path << ' ' << info.st_dev << ':' << info.st_ino << ' ' << info.st_size << ' ' << info.st_mtim.tv_sec
         << '.' << info.st_mtim.tv_nsec;
    return text.str();
}

// Escapes TAB, LF and backslash so that a record stays on one line.
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    }
    return out;
}

// A field of a record: "-" for none, else "=" and the escaped text.
std::string FieldText(const std::optional<std::string>& field) { return field ? "=" + Escape(*field) : "-"; }

std::optional<std::string> ParseField(const std::string& text) {
    if (text.empty() || text[0] != '=') return std::nullopt;
    return Unescape(text.substr(1));
}

bool ReadCache(const std::string& file, const std::string& fingerprint, std::vector<InstalledDecoder>& decoders) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != kFormatLine) return false;
    if (!std::getline(in, line) || line != Escape(fingerprint)) return false;
    while (std::getline(in, line)) {
        if (line == "end") return true;
        std::size_t tab = line.find('\t');
        if (tab == std::string::npos) return false;
        decoders.push_back({ParseField(line.substr(0, tab)), ParseField(line.substr(tab + 1))});
    }
    return false;  // cut short
}

void WriteCache(const std::string& file, const std::string& fingerprint, const std::vector<InstalledDecoder>& decoders) {
    std::size_t slash = file.rfind('/');
    if (slash == std::string::npos) return;
    std::string folder = file.substr(0, slash);
    // Creates the folder and its parents where missing; failures show at
    // the write below.
    for (std::size_t at = folder.find('/', 1); at != std::string::npos; at = folder.find('/', at + 1))
        ::mkdir(folder.substr(0, at).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
    std::string temporary = file + "." + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << kFormatLine << '\n' << Escape(fingerprint) << '\n';
        for (const InstalledDecoder& decoder : decoders)
            out << FieldText(decoder.name) << '\t' << FieldText(decoder.fourCC) << '\n';
        out << "end\n";
        if (!out.flush()) {
            out.close();
            std::remove(temporary.c_str());
            return;
        }
    }
    if (std::rename(temporary.c_str(), file.c_str()) != 0) std::remove(temporary.c_str());
}

}  // namespace

std::vector<InstalledDecoder> CachedDecoderSource::Decoders() {
    if (cacheFile_.empty()) return source_.Decoders();
    std::vector<InstalledDecoder> decoders;
    if (ReadCache(cacheFile_, fingerprint_, decoders)) return decoders;
    decoders = source_.Decoders();
    WriteCache(cacheFile_, fingerprint_, decoders);
    return decoders;
}

std::string DefaultDecoderCacheFile() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/quibo/installed-decoders";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.cache/quibo/installed-decoders";
    return {};
}

std::string LoaderFingerprint() {
    // Installing, removing or upgrading a library runs ldconfig, which
    // rewrites the loader's cache; a library path set for this run is
    // searched before it.
    const char* libraryPath = std::getenv("LD_LIBRARY_PATH");
    std::string fingerprint = StatText("/etc/ld.so.cache") + " | " + (libraryPath ? libraryPath : "");
    if (libraryPath != nullptr) {
        std::string paths = libraryPath;
        for (std::size_t start = 0; start <= paths.size();) {
            std::size_t end = paths.find(':', start);
            if (end == std::string::npos) end = paths.size();
            if (end > start) fingerprint += " | " + StatText(paths.substr(start, end - start));
            start = end + 1;
        }
    }
    return fingerprint;
}

}  // namespace quibo
