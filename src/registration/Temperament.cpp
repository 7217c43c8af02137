#include "registration/Temperament.h"

#include "stops_table/SysExCheck.h"

namespace kavel {

std::optional<std::array<std::string, 32>> buildTemperament(const std::string& templ,
                                                            int startNote) {
    // Its header and values are copied into all 32 messages: a template that is not whole SysEx
    // would damage every one of them. Its own checksum does not matter: each message gets its own.
    if (!isSysExStream(templ)) return std::nullopt;
    const auto end = templ.find('\xF7');
    // Bytes 1..8 header, 9..20 the twelve values: anything shorter would build short messages.
    if (end == std::string::npos || end < 20) return std::nullopt;
    std::array<char, 12> rotated{};
    const int n = ((startNote % 12) + 12) % 12;
    for (int j = 0; j < 12; ++j)
        rotated[static_cast<std::size_t>(j)] =
            templ[static_cast<std::size_t>(8 + (j - n + 12) % 12)];

    std::array<std::string, 32> messages;
    for (int p = 1; p <= 32; ++p) {
        const int q = (p - 1) % 16 + 1;
        const int block = q == 10 ? 0x10 : (q < 10 ? 0x10 + q : 0x1A + q - 11);
        std::string m = templ.substr(0, 5);
        m += static_cast<char>(p <= 16 ? 0x40 : 0x50);
        m += static_cast<char>(block);
        m += templ[7];
        m.append(rotated.data(), rotated.size());
        m += static_cast<char>(rolandChecksum(m.substr(5)));
        m += '\xF7';
        messages[static_cast<std::size_t>(p - 1)] = std::move(m);
    }
    return messages;
}

} // namespace kavel
