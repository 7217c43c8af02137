#pragma once

// The synthesizer under the GS front end, on FluidSynth: 32 channels, one per part, rendered
// by FluidSynth's own audio driver or offline on demand. FluidSynth stays behind this header.

#include "module/Synthesizer.h"

#include <cstddef>
#include <memory>
#include <string>

struct _fluid_synth_t;

namespace kavel::module {

struct FluidOptions {
    std::string soundFont;
    double sampleRate = 44100.0;
    double gain = 0.4; // FluidSynth's master gain, 0..10
    int polyphony = 256;
    bool reverb = true;
};

class FluidSynthesizer : public Synthesizer {
  public:
    // Loads the SoundFont; throws std::runtime_error with a sentence saying why not.
    explicit FluidSynthesizer(const FluidOptions& options);
    ~FluidSynthesizer() override;
    FluidSynthesizer(const FluidSynthesizer&) = delete;
    FluidSynthesizer& operator=(const FluidSynthesizer&) = delete;

    // Offline: the next `frames` samples of each side, with no audio device.
    void render(float* left, float* right, std::size_t frames);
    int activeVoices() const;
    double sampleRate() const;
    void setGain(double gain);
    _fluid_synth_t* handle() const;

    void resetChannels() override;
    void selectTone(int part, int bank, int program, bool rhythm) override;
    void noteOn(int part, int key, int velocity) override;
    void noteOff(int part, int key) override;
    void releaseAll(int part) override;
    void silenceAll(int part) override;
    void setHold(int part, bool on) override;
    void setPitchBend(int part, int value) override;
    void setAttenuation(int part, double centibels) override;
    void setTremolo(int part, double pitchCents, double volumeCentibels) override;
    void setReverbSend(int part, double fraction) override;
    void setScaleTuning(int part, const std::array<double, 12>& cents) override;
    void setReverb(int macro, int level) override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// FluidSynth's error messages since the last call, as one line (its warnings are dropped).
std::string takeFluidErrors();

} // namespace kavel::module
