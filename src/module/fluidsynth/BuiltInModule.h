#pragma once

// "Kavel: built-in GS module": an output device like the MIDI systems' own, listed after them.
// Opening it loads the SoundFont and starts FluidSynth's audio driver (JACK when a server
// runs, then PulseAudio, then ALSA, unless one is chosen); what is sent to it goes through the
// GS front end into FluidSynth. Everything here runs on the user-interface thread; the audio
// thread is FluidSynth's own and takes no lock of ours.

#include "midi/OutputSystem.h"
#include "module/GsFrontEnd.h"
#include "module/ModuleSettings.h"

#include <memory>
#include <string>

namespace kavel::module {

class FluidSynthesizer;

class BuiltInModule : public OutputSystem {
  public:
    // `settingsFile`: kavel-module.txt in the program folder, read at each opening.
    explicit BuiltInModule(std::string settingsFile);
    ~BuiltInModule() override;

    std::vector<std::string> devices(bool refresh) override;
    // Throws PortError (kNoSound) with one sentence when the SoundFont cannot be read or no
    // audio driver starts; the device then stays closed.
    void open(std::size_t index) override;
    void close() override;
    bool send(const std::uint8_t* bytes, std::size_t size) override;
    Health check() override;

    // The driver that is playing ("jack", "pulseaudio", "alsa"), empty when closed.
    const std::string& audioDriver() const { return driverName_; }
    const GsFrontEnd* frontEnd() const { return front_.get(); }

  private:
    struct Audio;
    std::string settingsFile_;
    std::unique_ptr<FluidSynthesizer> synth_;
    std::unique_ptr<GsFrontEnd> front_;
    std::unique_ptr<Audio> audio_;
    std::string driverName_;
};

} // namespace kavel::module
