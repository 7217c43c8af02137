#pragma once

// What the editor does with a .syx file: the bare name it may give the field, and the Swell
// copy of a stop's Great SysEx for the module's second block of parts.

#include <string>
#include <string_view>

namespace kavel {

// The path's name after its last "\" or "/", less its last four characters (".syx"); a name
// shorter than four characters is kept whole. The path is UTF-8, the name Windows-1252.
std::string syxFileName(const std::string& path);

// The Swell copy of Great SysEx: each message re-addressed from the 0x48 block to 0x58, its
// tenth data byte set to 1 where the middle address byte is below 0x18, and signed again.
// Under 10 bytes gives nothing. A last message without its F7 ends the copy at the end of
// the entry, with what was built before it.
std::string deriveSwellCopy(std::string_view great);

} // namespace kavel
