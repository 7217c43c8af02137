#pragma once

// The Stops Table keeps its names in the Windows-1252 code page, as the panel shows them.

#include <string>
#include <string_view>

namespace kavel {

// UTF-8 text (a file name from the file system) in Windows-1252. A character the code page
// has not, a control character and a byte that is not UTF-8 each become a "?".
std::string windows1252FromUtf8(std::string_view utf8);

} // namespace kavel
