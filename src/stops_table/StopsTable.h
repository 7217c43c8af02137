#pragma once

// The Stops Table: 431 byte strings (SysEx entries, names, flags) and the map of what each
// index holds. Everything that sends a stop or a global setting refers to its entry by index.

#include <array>
#include <string>
#include <string_view>

namespace kavel {

inline constexpr int kStopsTableSize = 431;
using StopsTableEntries = std::array<std::string, kStopsTableSize>;

namespace stops {
// Global SysEx entries 0..39; the name of global entry i is at kGlobalNames + i.
inline constexpr int kGlobal = 0;
inline constexpr int kGlobalCount = 40;
inline constexpr int kResets = 0;        // 0..9, "Global Reset"
inline constexpr int kTemperaments = 10; // 10..21
inline constexpr int kTemperamentCount = 12;
inline constexpr int kReverbs = 22; // 22..29
inline constexpr int kReverbCount = 8;
inline constexpr int kRinforzoGoOn = 30;
inline constexpr int kRinforzoGoOff = 31;
inline constexpr int kRinforzoSwOn = 32;
inline constexpr int kRinforzoSwOff = 33;
inline constexpr int kTremoloDouxGo = 35;
inline constexpr int kTremoloDouxSw = 36;
inline constexpr int kTremoloFortGo = 37;
inline constexpr int kTremoloFortSw = 38;

// Stop SysEx, first entry of each group and division (entry = first + row).
inline constexpr int kFondiGo = 40;
inline constexpr int kFondiSw = 70;
inline constexpr int kMutazGo = 100;
inline constexpr int kMutazSw = 120;
inline constexpr int kAncieGo = 140;
inline constexpr int kAncieSw = 160;
inline constexpr int kPedale = 180;
inline constexpr int kFondiRows = 30;
inline constexpr int kOtherRows = 20;

// Stop names.
inline constexpr int kFondiNames = 200;
inline constexpr int kMutazNames = 230;
inline constexpr int kAncieNames = 250;
inline constexpr int kPedaleNames = 270;
inline constexpr int kGlobalNames = 290;
inline constexpr int kTemperamentNames = 300;
inline constexpr int kReverbNames = 312;
inline constexpr int kGroupNames = 350; // Fondi, Mutazioni, Ancie, Pedale

// Rinforzabile flags, "1" or "0".
inline constexpr int kRinforzabileFondi = 360;
inline constexpr int kRinforzabileAncie = 390;

// Canceller SysEx 410..421.
inline constexpr int kCancellers = 410;
inline constexpr int kCancellerCount = 12;
inline constexpr int kGoMuteAncie = 410;
inline constexpr int kGoMuteFondi = 411;
inline constexpr int kGoMuteMutaz = 412;
inline constexpr int kGoRestoreAncie = 413;
inline constexpr int kGoRestoreFondi = 414;
inline constexpr int kGoRestoreMutaz = 415;
inline constexpr int kSwMuteAncie = 416;
inline constexpr int kSwMuteFondi = 417;
inline constexpr int kSwMuteMutaz = 418;
inline constexpr int kSwRestoreAncie = 419;
inline constexpr int kSwRestoreFondi = 420;
inline constexpr int kSwRestoreMutaz = 421;
} // namespace stops

// The fixed texts that name the canceller entries 410..421 (not stored in the table).
inline constexpr std::array<std::string_view, stops::kCancellerCount> kCancellerNames = {
    "GO MUTE Ance-Archi", "GO MUTE Fondi.",        "GO MUTE Mutazioni",  "GO RESTORE Ance-Archi",
    "GO RESTORE Fondi",   "GO RESTORE Mutaz",      "SW MUTE Ance-Archi", "SW MUTE Fondi",
    "SW MUTE Mutaz",      "SW RESTORE Ance-Archi", "SW RESTORE Fondi",   "SW RESTORE Mutaz"};

enum class EntryKind { SysEx, Name, Flag, Reserved };

struct EntryInfo {
    EntryKind kind;
    std::string label; // "fondi[3].great", "global[0].name", "reserved" ...
};

// What the index map says entry `index` is.
EntryInfo describeEntry(int index);

} // namespace kavel
