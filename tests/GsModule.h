#pragma once

// A GS module as far as the tests need one. It takes SysEx and channel messages, and it refuses
// malformed messages and wrong Roland checksums. For each part it keeps what the console sets
// (tone, channel, level, key shift, key range, scale tuning) and the receive switches. It also
// keeps what decides how loud the part sounds: volume (CC7), expression (CC11), and the two
// assignable controllers CC1/CC2 with their amplitude control.
// Notes, program change, bend and the other controllers are taken but change nothing here.

#include "stops_table/SysExCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kavel::test {

// Module part parameters 40 1x 03..12: the receive switches, on after a GS reset.
enum RxSwitch {
    kRxPitchBend = 0x03,
    kRxControlChange = 0x06,
    kRxVolume = 0x0C,
    kRxExpression = 0x0E,
    kRxSoft = 0x12,
};

struct GsPart {
    int bank = 0, program = 0;
    int channel = -1; // 0..15, 16 = off; -1 never set (a module that had no GS reset)
    int level = 100;  // 40 1x 19, also set by CC7 when Rx.VOLUME is on
    int expression = 127;
    int keyShift = 0x40;
    int keyLow = 0, keyHigh = 0x7F;
    std::array<int, 12> scaleTuning{0x40, 0x40, 0x40, 0x40, 0x40, 0x40,
                                    0x40, 0x40, 0x40, 0x40, 0x40, 0x40};
    std::array<bool, kRxSoft - kRxPitchBend + 1> rxOff{}; // by switch, from Rx.PITCH BEND
    // CC1 and CC2: the controller number each one takes (40 1x 1F, 20), its last value, and its
    // amplitude control (40 2x 42, 52): 00..7F is -100..+100 % at value 127, and 40 is none.
    std::array<int, 2> ccNumber{0x10, 0x11}, ccValue{0, 0}, ccAmplitude{0x40, 0x40};

    bool receives(RxSwitch s) const { return !rxOff[static_cast<std::size_t>(s - kRxPitchBend)]; }
    // What CC1 and CC2 make of the part's amplitude: 1 untouched, 0 silent.
    double amplitude() const {
        double a = 1.0;
        for (std::size_t i = 0; i < 2; ++i) {
            const int depth = ccAmplitude[i] - 0x40;
            const double full = depth / (depth < 0 ? 64.0 : 63.0); // -1..+1
            a *= std::clamp(1.0 + full * ccValue[i] / 127.0, 0.0, 2.0);
        }
        return a;
    }
    // How loud the part plays, relative to level 127 with nothing turned down.
    double loudness() const { return level / 127.0 * expression / 127.0 * amplitude(); }
    bool sounds() const { return keyLow <= keyHigh && loudness() > 0.0; }
    bool operator==(const GsPart&) const = default;
};

class GsModule {
  public:
    std::array<GsPart, 33> parts{}; // 1..32

    // Applies every message of `bytes`; throws on anything a module would not take.
    void apply(const std::string& bytes) {
        std::size_t at = 0;
        while (at < bytes.size()) {
            const int status = static_cast<unsigned char>(bytes[at]);
            if (status == 0xF0) {
                const auto end = bytes.find('\xF7', at);
                if (end == std::string::npos) throw std::runtime_error("SysEx without F7");
                sysEx(bytes.substr(at, end - at + 1));
                at = end + 1;
            } else if (status >= 0x80 && status < 0xF0) {
                const int type = status & 0xF0;
                const std::size_t size = type == 0xC0 || type == 0xD0 ? 2 : 3;
                if (at + size > bytes.size()) throw std::runtime_error("channel message cut short");
                std::array<int, 2> data{0, 0};
                for (std::size_t i = 1; i < size; ++i) {
                    data[i - 1] = static_cast<unsigned char>(bytes[at + i]);
                    if (data[i - 1] > 0x7F) throw std::runtime_error("data byte above 7F");
                }
                if (type == 0xB0) controlChange(status & 0x0F, data[0], data[1]);
                at += size;
            } else if (status > 0xF0 && status != 0xF7) {
                throw std::runtime_error(
                    "system messages are not modelled: the console sends none");
            } else {
                // No running status: the console always sends the status byte.
                throw std::runtime_error("a data byte or F7 where a message should start");
            }
        }
    }
    void apply(const std::vector<std::uint8_t>& bytes) {
        apply(std::string(bytes.begin(), bytes.end()));
    }

  private:
    static int partOf(int hi, int block) {
        const int q = block == 0 ? 10 : (block <= 9 ? block : block + 1);
        return q + (hi == 0x50 ? 16 : 0);
    }
    // Ports A and B both hear the console's one output, so B parts reset to the same channels.
    static int channelAfterReset(int part) { return (part - 1) % 16; }

    void sysEx(const std::string& m) {
        if (auto problems = checkSysExEntry(m); !problems.empty())
            throw std::runtime_error(problems.front());
        if (m.size() < 11 || static_cast<unsigned char>(m[1]) != 0x41 || m[3] != 0x42 ||
            m[4] != 0x12)
            throw std::runtime_error("not a GS DT1 message");
        const int hi = m[5], mid = m[6], lo = m[7];
        const std::string data = m.substr(8, m.size() - 10);
        // GS reset, and the mode set that initialises the module as it switches.
        if ((hi == 0x40 && mid == 0x00 && lo == 0x7F) || (hi == 0x00 && mid == 0x00 && lo == 0x7F))
            return reset();
        if (hi != 0x40 && hi != 0x50) return;
        GsPart& p = parts[static_cast<std::size_t>(partOf(hi, mid & 0x0F))];
        if ((mid & 0xF0) == 0x10) partParameters(p, lo, data);
        if ((mid & 0xF0) == 0x20) controllerParameters(p, lo, data);
    }

    void reset() {
        for (int i = 1; i <= 32; ++i) {
            parts[static_cast<std::size_t>(i)] = GsPart{};
            parts[static_cast<std::size_t>(i)].channel = channelAfterReset(i);
        }
    }

    static void partParameters(GsPart& p, int lo, const std::string& d) {
        for (std::size_t i = 0; i < d.size(); ++i) {
            const int addr = lo + static_cast<int>(i), v = d[i];
            if (addr == 0x00) p.bank = v;
            if (addr == 0x01) p.program = v;
            if (addr == 0x02) p.channel = v;
            if (addr >= kRxPitchBend && addr <= kRxSoft) {
                if (v > 1) throw std::runtime_error("a receive switch is 0 or 1");
                p.rxOff[static_cast<std::size_t>(addr - kRxPitchBend)] = v == 0;
            }
            if (addr == 0x16) p.keyShift = v;
            if (addr == 0x19) p.level = v;
            if (addr == 0x1D) p.keyLow = v;
            if (addr == 0x1E) p.keyHigh = v;
            if (addr == 0x1F || addr == 0x20) {
                if (v > 0x5F) throw std::runtime_error("CC1/CC2 take controllers 0..95");
                p.ccNumber[static_cast<std::size_t>(addr - 0x1F)] = v;
            }
            if (addr >= 0x40 && addr <= 0x4B)
                p.scaleTuning[static_cast<std::size_t>(addr - 0x40)] = v;
        }
    }

    static void controllerParameters(GsPart& p, int lo, const std::string& d) {
        for (std::size_t i = 0; i < d.size(); ++i) {
            const int addr = lo + static_cast<int>(i);
            if (addr == 0x42) p.ccAmplitude[0] = d[i];
            if (addr == 0x52) p.ccAmplitude[1] = d[i];
        }
    }

    // Every part on the channel takes it, each as its own receive switches allow.
    void controlChange(int channel, int controller, int value) {
        for (int i = 1; i <= 32; ++i) {
            GsPart& p = parts[static_cast<std::size_t>(i)];
            if (p.channel != channel || !p.receives(kRxControlChange)) continue;
            if (controller == 7 && p.receives(kRxVolume)) p.level = value;
            if (controller == 11 && p.receives(kRxExpression)) p.expression = value;
            for (std::size_t c = 0; c < 2; ++c)
                if (p.ccNumber[c] == controller) p.ccValue[c] = value;
        }
    }
};

} // namespace kavel::test
