#include "module/fluidsynth/BuiltInModule.h"

#include "midi/MidiPorts.h"
#include "module/fluidsynth/FluidSynthesizer.h"

#include <fluidsynth.h>
#include <jack/jack.h>

#include <algorithm>
#include <cmath>

namespace kavel::module {

namespace {

// A JACK server already running; none is started for the module's sake.
bool jackServerRuns() {
    jack_status_t status{};
    jack_client_t* probe = jack_client_open("Kavel probe", JackNoStartServer, &status);
    if (!probe) return false;
    jack_client_close(probe);
    return true;
}

std::vector<std::string> driversToTry(const std::string& chosen) {
    if (chosen != "auto") return {chosen};
    std::vector<std::string> order;
    if (jackServerRuns()) order.emplace_back("jack");
    order.emplace_back("pulseaudio");
    order.emplace_back("alsa");
    return order;
}

} // namespace

// FluidSynth's audio driver with its own settings: the thread it starts renders the synth.
struct BuiltInModule::Audio {
    fluid_settings_t* settings = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    ~Audio() {
        if (driver) delete_fluid_audio_driver(driver); // joins the audio thread first
        if (settings) delete_fluid_settings(settings);
    }
};

BuiltInModule::BuiltInModule(std::string settingsFile) : settingsFile_(std::move(settingsFile)) {}

BuiltInModule::~BuiltInModule() {
    close();
}

std::vector<std::string> BuiltInModule::devices(bool) {
    return {kBuiltInModuleName};
}

void BuiltInModule::open(std::size_t) {
    close();
    const ModuleSettings s = loadModuleSettings(settingsFile_);
    const std::string prefix = std::string(kBuiltInModuleName) + ": ";
    std::unique_ptr<FluidSynthesizer> synth;
    try {
        synth = std::make_unique<FluidSynthesizer>(FluidOptions{s.soundFont, 48000.0, s.gain});
    } catch (const std::exception& e) {
        throw PortError(port_error::kNoSound, prefix + e.what());
    }
    auto audio = std::make_unique<Audio>();
    std::string tried;
    for (const std::string& name : driversToTry(s.audioDriver)) {
        audio = std::make_unique<Audio>();
        audio->settings = new_fluid_settings();
        fluid_settings_setstr(audio->settings, "audio.driver", name.c_str());
        fluid_settings_setnum(audio->settings, "synth.sample-rate", synth->sampleRate());
        fluid_settings_setint(audio->settings, "audio.jack.autoconnect", 1);
        fluid_settings_setstr(audio->settings, "audio.jack.id", "Kavel module");
        fluid_settings_setint(audio->settings, "audio.periods", 2);
        const int period = std::clamp(
            static_cast<int>(std::lround(s.latencyMs * synth->sampleRate() / 1000.0 / 2.0)), 64,
            8192);
        fluid_settings_setint(audio->settings, "audio.period-size", period);
        takeFluidErrors();
        audio->driver = new_fluid_audio_driver(audio->settings, synth->handle());
        if (audio->driver) {
            driverName_ = name;
            break;
        }
        tried += (tried.empty() ? "" : ", ") + name;
    }
    if (!audio->driver) {
        const std::string why = takeFluidErrors();
        throw PortError(port_error::kNoSound, prefix + "no audio device could be opened (tried " +
                                                  tried + ")." +
                                                  (why.empty() ? "" : " " + why + "."));
    }
    front_ = std::make_unique<GsFrontEnd>(*synth);
    synth_ = std::move(synth);
    audio_ = std::move(audio);
}

void BuiltInModule::close() {
    audio_.reset(); // the audio thread stops before the synth it renders goes
    front_.reset();
    synth_.reset();
    driverName_.clear();
}

bool BuiltInModule::send(const std::uint8_t* bytes, std::size_t size) {
    if (!front_) return false;
    front_->receive(bytes, size);
    return true;
}

OutputSystem::Health BuiltInModule::check() {
    Health health;
    if (!synth_) return health;
    if (auto errors = takeFluidErrors(); !errors.empty())
        health.faults.push_back(std::string(kBuiltInModuleName) + ": " + errors);
    return health;
}

} // namespace kavel::module
