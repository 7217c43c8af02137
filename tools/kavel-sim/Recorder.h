#pragma once

// kavel-sim's ear: a built-in GS module rendered offline along the fake clock. What the console
// sends is heard at the time it is sent; the sound up to that time is written first.

#include "module/GsFrontEnd.h"
#include "module/WavFile.h"
#include "module/fluidsynth/FluidSynthesizer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavel {

class Recorder {
  public:
    // Throws std::runtime_error with a sentence (no SoundFont, the file cannot be made).
    Recorder(const std::string& wavPath, const std::string& settingsFile, double startMs);

    void feed(const std::vector<std::uint8_t>& bytes, double atMs);
    // Renders up to `atMs` and completes the file; nothing, or why it failed.
    std::optional<std::string> finish(double atMs);
    double seconds() const;
    const module::GsFrontEnd& frontEnd() const { return front_; }

  private:
    void renderTo(double atMs);

    module::FluidSynthesizer synth_;
    module::GsFrontEnd front_;
    module::WavFile wav_;
    double startMs_;
    std::uint64_t rendered_ = 0;
};

// A synthesizer that plays nothing: the front end alone, for its counts.
class SilentSynthesizer : public module::Synthesizer {
  public:
    void resetChannels() override {}
    void selectTone(int, int, int, bool) override {}
    void noteOn(int, int, int) override {}
    void noteOff(int, int) override {}
    void releaseAll(int) override {}
    void silenceAll(int) override {}
    void setHold(int, bool) override {}
    void setPitchBend(int, int) override {}
    void setAttenuation(int, double) override {}
    void setTremolo(int, double, double) override {}
    void setReverbSend(int, double) override {}
    void setScaleTuning(int, const std::array<double, 12>&) override {}
    void setReverb(int, int) override {}
};

} // namespace kavel
