#pragma once

// One part of the GS module as its parameters stand: what a GS reset gives and what the
// console's SysEx and controllers have set since.

#include <array>
#include <cstdint>

namespace kavel::module {

// Part parameters 40 1x 03..12: the receive switches.
enum class Rx : std::uint8_t {
    PitchBend = 0x03,
    ChannelPressure,
    ProgramChange,
    ControlChange,
    PolyPressure,
    NoteMessage,
    Rpn,
    Nrpn,
    Modulation,
    Volume,
    Panpot,
    Expression,
    Hold1,
    Portamento,
    Sostenuto,
    Soft,
};
inline constexpr int kRxCount = 16;
inline constexpr int kChannelOff = 0x10;

struct GsPart {
    int bank = 0, program = 0;
    int channel = 0; // 0..15, 16 off
    bool rhythm = false;
    int level = 100; // part level, and CC7 when Rx.VOLUME is on
    int expression = 127;
    int keyShift = 0x40; // 0x28..0x58, -24..+24 semitones
    int keyLow = 0, keyHigh = 0x7F;
    int reverbSend = 0x28;
    std::array<int, 12> scaleTuning{0x40, 0x40, 0x40, 0x40, 0x40, 0x40,
                                    0x40, 0x40, 0x40, 0x40, 0x40, 0x40};
    std::array<bool, kRxCount> rx{true, true, true, true, true, true, true, true,
                                  true, true, true, true, true, true, true, true};
    // The two assignable controllers: the controller number each takes, its last value and its
    // amplitude control (0x40 none, 0x00 -100 % at value 127, 0x7F +100 %).
    std::array<int, 2> ccNumber{0x10, 0x11}, ccValue{0, 0}, ccAmplitude{0x40, 0x40};
    // The modulation wheel's LFO1 depths: pitch (0..127 for 0..600 cents) and amplitude
    // (0..127 for 0..100 %), scaled by controller 1.
    int modPitchDepth = 0x0A, modAmplitudeDepth = 0;
    int modulation = 0;
    int bankSelect = 0; // CC0 waiting for a program change
    bool hold = false;

    bool receives(Rx r) const { return rx[static_cast<std::size_t>(r) - 0x03]; }
};

} // namespace kavel::module
