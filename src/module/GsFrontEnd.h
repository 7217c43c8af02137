#pragma once

// A GS module of the SC-88 class in front of a synthesizer: it takes the byte stream the
// console sends (channel messages and Roland GS DT1 SysEx) and keeps 32 parts, telling the
// synthesizer only what it can play (notes, levels, pitches, sends). Addresses it does not
// know and damaged messages are left alone and counted.

#include "module/GsPart.h"
#include "module/Synthesizer.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kavel::module {

struct GsCounts {
    std::uint64_t unknown = 0;     // GS addresses this module does not act on
    std::uint64_t damaged = 0;     // bad checksum, cut short, a data byte above 7F
    std::uint64_t notForUs = 0;    // another maker, model or device number, not a DT1
    std::uint64_t unsupported = 0; // channel and system messages a module of this kind ignores
};

class GsFrontEnd {
  public:
    // As the module is switched on: a GS reset, one block listening.
    explicit GsFrontEnd(Synthesizer& synth);

    // One complete message: a channel message or one SysEx F0 .. F7.
    void receive(const std::uint8_t* bytes, std::size_t size);
    // Any number of complete messages back to back, as a Stops Table entry holds them.
    void receiveStream(const std::uint8_t* bytes, std::size_t size);

    const GsPart& part(int number) const { return parts_.at(static_cast<std::size_t>(number - 1)); }
    const GsCounts& counts() const { return counts_; }
    bool bothBlocksListen() const { return bothBlocks_; }
    int reverbMacro() const { return reverbMacro_; }
    int reverbLevel() const { return reverbLevel_; }

  private:
    void reset();
    void sysEx(const std::uint8_t* m, std::size_t size);
    bool partParameter(int index, int address, int value);
    bool controllerParameter(int index, int address, int value);
    bool systemParameter(int address, int value);
    void channelMessage(int status, int data1, int data2);
    void controlChange(int index, int controller, int value);
    void noteOn(int index, int key, int velocity);
    void noteOff(int index, int key);
    void releaseAll(int index, bool cut);
    bool listens(int index, int channel) const;
    void applyLevel(int index);
    void applyTremolo(int index);
    void applyTuning(int index);
    void applyTone(int index);

    Synthesizer& synth_;
    std::array<GsPart, kParts> parts_{};
    // The key each received key sounds on, plus one (0: not sounding), so a release finds its
    // note whatever the key shift or key range has become since.
    std::array<std::array<std::uint8_t, 128>, kParts> sounding_{};
    std::array<double, kParts> attenuation_{};
    bool bothBlocks_ = false;
    int reverbMacro_ = 4, reverbLevel_ = 64;
    GsCounts counts_;
};

} // namespace kavel::module
