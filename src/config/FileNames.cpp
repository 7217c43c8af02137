#include "config/FileNames.h"

#include <algorithm>
#include <cctype>
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

} // namespace kavel
