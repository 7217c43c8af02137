#pragma once

// The .DAT file: 431 records in index order, each a 16-bit little-endian length and that many
// raw bytes. No header, no count, no checksum.

#include "stops_table/StopsTable.h"

#include <optional>
#include <string>
#include <string_view>

namespace kavel {

inline constexpr std::size_t kMaxDatEntry = 0xFFFF;
// The largest file readDat takes: every record at its longest, and a megabyte of the trailing
// bytes the format ignores (a padded copy, a note appended). Anything larger is not a Stops
// Table, and is refused rather than read whole.
inline constexpr std::size_t kMaxDatFile = kStopsTableSize * (2 + kMaxDatEntry) + (1u << 20);

struct DatResult {
    std::optional<StopsTableEntries> table;
    std::string error; // set when table is empty
};

// Records missing at the end of the file read as empty entries; bytes after record 430 are
// ignored; a record running past the end of the file is a failure.
DatResult decodeDat(std::string_view bytes);
// A folder, a device, an unreadable file or one above kMaxDatFile is a failure too.
DatResult readDat(const std::string& path);

// Nothing, or why the table cannot be stored (an entry longer than a record can hold).
std::optional<std::string> checkDatLimits(const StopsTableEntries& table);
std::string encodeDat(const StopsTableEntries& table);
// Writes to a temporary file beside `path` and renames it over the old file, so a failed
// write leaves the old file whole. Nothing, or what went wrong.
std::optional<std::string> writeDat(const std::string& path, const StopsTableEntries& table);

} // namespace kavel
