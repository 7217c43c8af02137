#include "config/FileNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace kavel {

namespace fs = std::filesystem;

std::string fileNameOf(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

namespace {
bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}
} // namespace

std::string resolveCase(const std::string& path) {
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) return path;
    const fs::path p(path);
    const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    const std::string wanted = p.filename().string();
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (sameIgnoringCase(entry.path().filename().string(), wanted))
            return (p.has_parent_path() ? folder / entry.path().filename()
                                        : entry.path().filename())
                .string();
    }
    return path;
}

FileRead readFileAtMost(const std::string& path, std::size_t maxBytes) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found)
        return {std::nullopt, "the file does not exist", true};
    if (ec) return {std::nullopt, "cannot reach the file: " + ec.message(), false};
    if (fs::is_directory(status)) return {std::nullopt, "it is a folder, not a file", false};
    if (!fs::is_regular_file(status)) return {std::nullopt, "it is not a regular file"};
    const auto size = fs::file_size(path, ec);
    if (ec) return {std::nullopt, "cannot read the file: " + ec.message()};
    if (size > maxBytes)
        return {std::nullopt, "the file is " + std::to_string(size) + " bytes long, more than " +
                                  std::to_string(maxBytes) + " bytes such a file can hold"};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {std::nullopt, "cannot open the file"};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return {std::nullopt, "an error occurred while reading the file"};
    bytes.resize(got); // it shrank meanwhile: what was there
    return {std::move(bytes), {}};
}

std::optional<std::string> writeFileAtomically(const std::string& path, const std::string& bytes) {
    const fs::path target(path);
    std::random_device rd;
    fs::path temp = target;
    temp += ".tmp" + std::to_string(rd() % 1000000);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return "Cannot write in the folder of " + path + ".";
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temp, ignored);
            return "Writing " + path + " failed (is the disk full?); the old file is unchanged.";
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return "Cannot replace " + path + ": " + ec.message() + "; the old file is unchanged.";
    }
    return std::nullopt;
}

std::vector<std::pair<std::string_view, std::string_view>> keyValueLines(std::string_view text) {
    std::vector<std::pair<std::string_view, std::string_view>> pairs;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const auto eq = line.find('=');
        if (eq != std::string_view::npos)
            pairs.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return pairs;
}

} // namespace kavel
