#pragma once

// A GS module as far as the tests need one: it takes SysEx, refuses malformed frames and wrong
// Roland checksums, and keeps per part what the console sets (tone, channel, level, key shift,
// key range, scale tuning).

#include "stops_table/SysExCheck.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

namespace kavel::test {

struct GsPart {
    int bank = 0, program = 0;
    int channel = -1; // 0..15, 16 = off; -1 never set
    int level = 100;
    int keyShift = 0x40;
    int keyLow = 0, keyHigh = 0x7F;
    std::array<int, 12> scaleTuning{0x40, 0x40, 0x40, 0x40, 0x40, 0x40,
                                    0x40, 0x40, 0x40, 0x40, 0x40, 0x40};
    bool sounds() const { return level > 0 && keyLow <= keyHigh; }
};

class GsModule {
  public:
    std::array<GsPart, 33> parts{}; // 1..32

    // Applies every message of `bytes`; throws on anything a module would not take.
    void apply(const std::string& bytes) {
        if (auto problems = checkSysExEntry(bytes); !problems.empty())
            throw std::runtime_error(problems.front());
        std::size_t at = 0;
        while (at < bytes.size()) {
            const auto end = bytes.find('\xF7', at);
            const std::string m = bytes.substr(at, end - at + 1);
            at = end + 1;
            if (m.size() < 11 || static_cast<unsigned char>(m[1]) != 0x41 || m[3] != 0x42 ||
                m[4] != 0x12)
                throw std::runtime_error("not a GS DT1 message");
            const int hi = m[5], mid = m[6], lo = m[7];
            const std::string data = m.substr(8, m.size() - 10);
            if ((hi == 0x40 || hi == 0x50) && (mid & 0xF0) == 0x10) part(hi, mid, lo, data);
        }
    }

  private:
    static int partOf(int hi, int block) {
        const int q = block == 0 ? 10 : (block <= 9 ? block : block + 1);
        return q + (hi == 0x50 ? 16 : 0);
    }
    void part(int hi, int mid, int lo, const std::string& d) {
        GsPart& p = parts[static_cast<std::size_t>(partOf(hi, mid & 0x0F))];
        for (std::size_t i = 0; i < d.size(); ++i) {
            const int addr = lo + static_cast<int>(i), v = d[i];
            if (addr == 0x00) p.bank = v;
            if (addr == 0x01) p.program = v;
            if (addr == 0x02) p.channel = v;
            if (addr == 0x16) p.keyShift = v;
            if (addr == 0x19) p.level = v;
            if (addr == 0x1D) p.keyLow = v;
            if (addr == 0x1E) p.keyHigh = v;
            if (addr >= 0x40 && addr <= 0x4B)
                p.scaleTuning[static_cast<std::size_t>(addr - 0x40)] = v;
        }
    }
};

} // namespace kavel::test
