#include "module/fluidsynth/BuiltInModule.h"

#include "midi/MidiPorts.h"
#include "module/fluidsynth/FluidSynthesizer.h"

#include <alsa/asoundlib.h>
#include <fluidsynth.h>
#include <jack/jack.h>

#include <algorithm>
#include <cmath>

namespace kavel::module {

namespace {

void silentJack(const char*) {}
void silentAlsa(const char*, int, const char*, int, const char*, ...) {}

// A JACK server already running; none is started for the module's sake. The library's own
// messages are muted meanwhile: a missing server is no fault.
bool jackServerRuns() {
    void (*previousError)(const char*) = jack_error_callback;
    void (*previousInfo)(const char*) = jack_info_callback;
    jack_set_error_function(&silentJack);
    jack_set_info_function(&silentJack);
    jack_client_t* probe = jack_client_open("Kavel probe", JackNoStartServer, nullptr);
    if (probe) jack_client_close(probe);
    jack_set_error_function(previousError);
    jack_set_info_function(previousInfo);
    return probe != nullptr;
}

// FluidSynth's driver, with ALSA's own messages muted: what failed is in FluidSynth's error.
fluid_audio_driver_t* startDriver(fluid_settings_t* settings, fluid_synth_t* synth) {
    const snd_lib_error_handler_t previous = snd_lib_error;
    snd_lib_error_set_handler(&silentAlsa);
    fluid_audio_driver_t* driver = new_fluid_audio_driver(settings, synth);
    snd_lib_error_set_handler(previous);
    return driver;
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
        audio->driver = startDriver(audio->settings, synth->handle());
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
