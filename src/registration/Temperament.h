#pragma once

// The GS scale-tuning messages of a temperament for all 32 module parts, built from one
// template message and rotated to the chosen start note.

#include <array>
#include <optional>
#include <string>

namespace kavel {

// Nothing when the template's first message is too short to hold twelve values (or has no F7),
// or when the template is not whole SysEx (its own checksum is not needed: each part's is worked
// out afresh).
std::optional<std::array<std::string, 32>> buildTemperament(const std::string& templ,
                                                            int startNote);

} // namespace kavel
