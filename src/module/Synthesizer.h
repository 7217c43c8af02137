#pragma once

// The sound engine under the GS front end: 32 channels, one per module part (part 1 is
// channel 0). The front end works out every level, pitch and routing itself; the engine only
// plays notes and takes per-channel values, each applied to notes already sounding.

#include <array>

namespace kavel::module {

inline constexpr int kParts = 32;

class Synthesizer {
  public:
    virtual ~Synthesizer() = default;

    // Every channel silent, melodic, with no tuning, tremolo or send.
    virtual void resetChannels() = 0;
    // The tone; when the SoundFont lacks the variation, the capital tone of bank 0.
    virtual void selectTone(int part, int bank, int program, bool rhythm) = 0;
    virtual void noteOn(int part, int key, int velocity) = 0;
    virtual void noteOff(int part, int key) = 0;
    virtual void releaseAll(int part) = 0; // as the keys' release
    virtual void silenceAll(int part) = 0; // at once
    virtual void setHold(int part, bool on) = 0;
    virtual void setPitchBend(int part, int value) = 0; // 0..16383, 8192 centre
    // How far the part is turned down, in centibels (0 full, 1440 silent).
    virtual void setAttenuation(int part, double centibels) = 0;
    // The tremulant: vibrato depth in cents and amplitude swing in centibels.
    virtual void setTremolo(int part, double pitchCents, double volumeCentibels) = 0;
    virtual void setReverbSend(int part, double fraction) = 0; // 0..1
    // Cents off equal temperament for C, C#, .. B.
    virtual void setScaleTuning(int part, const std::array<double, 12>& cents) = 0;
    // The GS reverb macro 0..7 (Room 1 .. Panning Delay) and its level 0..127.
    virtual void setReverb(int macro, int level) = 0;
};

} // namespace kavel::module
