#pragma once

// Checks the SysEx entries of a Stops Table before they reach a module: each message F0..F7
// with data bytes below 80, and every Roland DT1 message with its right checksum.

#include "stops_table/StopsTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace kavel {

// One sentence per problem, naming the entry; empty when all is well.
std::vector<std::string> checkSysEx(const StopsTableEntries& table);
// The problems of one entry's bytes.
std::vector<std::string> checkSysExEntry(std::string_view bytes);
// True when checkSysExEntry would find nothing (an empty entry too). It allocates nothing, so
// it can guard every send.
bool isSoundSysEx(std::string_view bytes);
// One or more whole SysEx messages back to back, F0 ... F7 with only data bytes between;
// checksums aside. What a MIDI output may send as SysEx at all.
bool isSysExStream(std::string_view bytes);
// The entries the index map says hold SysEx that are not sound, in index order.
std::vector<int> damagedSysExEntries(const StopsTableEntries& table);
// The Roland checksum of address and data bytes: 128 - (sum mod 128), 0 instead of 128.
int rolandChecksum(std::string_view addressAndData);

} // namespace kavel
