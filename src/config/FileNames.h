#pragma once

// File names and whole-file writes shared by every file the console keeps.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kavel {

// The part of `path` after its last "/" or "\" (all of it when there is none).
std::string fileNameOf(const std::string& path);

// `path` itself when it exists; otherwise a file in the same folder whose name differs only in
// letter case (the console's own files are named without regard to case), else `path`.
std::string resolveCase(const std::string& path);

struct FileRead {
    std::optional<std::string> bytes; // the whole file, or nothing when it could not be read
    std::string error;                // why not, as a sentence
    bool missing = false;             // there is no such file at all
};

// Reads a regular file whole, refusing one larger than `maxBytes` (a folder, a device or an
// unreadable file is refused too, never thrown): the console's readers must not stall, crash
// or run out of memory on a file that is not what they expect.
FileRead readFileAtMost(const std::string& path, std::size_t maxBytes);

// The lines `key=value` of the side files kept beside kavel.CFG, in file order; LF or CR LF,
// lines without "=" skipped. The views point into `text`.
std::vector<std::pair<std::string_view, std::string_view>> keyValueLines(std::string_view text);

// Writes `bytes` to a temporary file in the folder of `path`, then renames it over `path`.
// Nothing, or a sentence saying what went wrong; the old file is untouched on failure.
std::optional<std::string> writeFileAtomically(const std::string& path, const std::string& bytes);

} // namespace kavel
