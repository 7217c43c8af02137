#include "midi/rtmidi/RtMidiSystems.h"

#include "midi/MidiPorts.h"

#include <RtMidi.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace kavel {

namespace {

constexpr const char* kClientName = "Kavel";

struct ApiInfo {
    RtMidi::Api api;
    const char* label;
    bool virtualPorts;
};

// The order of the device lists. No JACK: RtMidi frees a JACK output's ring before it closes
// the client, and a process cycle in between reads freed memory.
constexpr std::array kApis = {
    ApiInfo{RtMidi::LINUX_ALSA, "ALSA", true},
    ApiInfo{RtMidi::MACOSX_CORE, "CoreMIDI", true},
    ApiInfo{RtMidi::WINDOWS_MM, "WinMM", false},
};

const ApiInfo* infoOf(int api) {
    for (const auto& info : kApis)
        if (info.api == api) return &info;
    return nullptr;
}

void probeError(RtMidiError::Type type, const std::string&, void* failed) {
    if (type != RtMidiError::DEBUG_WARNING) *static_cast<bool*>(failed) = true;
}

void ignoreError(RtMidiError::Type, const std::string&, void*) {}

void sinkError(RtMidiError::Type type, const std::string& text, void* sink) {
    if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING) return;
    static_cast<PendingErrors*>(sink)->add(text);
}

void silentAlsa(const char*, int, const char*, int, const char*, ...) {}

// RtMidi reports a failed start from its constructor, before an error callback can be set, so
// ALSA is tried directly first, with its library's own messages muted.
bool alsaStarts() {
    const snd_lib_error_handler_t previous = snd_lib_error;
    snd_lib_error_set_handler(&silentAlsa);
    snd_seq_t* seq = nullptr;
    const bool started = snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) == 0;
    if (started) snd_seq_close(seq);
    snd_lib_error_set_handler(previous);
    return started;
}

bool reportStart(bool started, const char* message) {
    if (!started) std::fprintf(stderr, "Kavel: %s\n", message);
    return started;
}

// Tried once per run: every port asks on each list refresh, and a system that is not there
// would print the same failure each time.
bool systemStarts(RtMidi::Api api) {
    if (api == RtMidi::LINUX_ALSA) {
        static const bool alsa =
            reportStart(alsaStarts(), "no ALSA sequencer; ALSA MIDI ports are left out");
        return alsa;
    }
    return true;
}

// A client of `api`, or nothing when that MIDI system does not start here.
template <typename Rt> std::unique_ptr<Rt> makeClient(RtMidi::Api api) {
    if (!systemStarts(api)) return nullptr;
    try {
        auto client = std::make_unique<Rt>(api, kClientName);
        bool failed = false;
        client->setErrorCallback(&probeError, &failed);
        client->getPortCount();
        // Without a callback RtMidi would throw, on its own thread too.
        client->setErrorCallback(&ignoreError, nullptr);
        if (failed) return nullptr;
        return client;
    } catch (const RtMidiError&) {
        return nullptr;
    }
}

bool compiled(RtMidi::Api api) {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    return std::find(apis.begin(), apis.end(), api) != apis.end();
}

template <typename Rt> std::vector<RtDevice> enumerate(const std::string& virtualName) {
    std::vector<RtDevice> devices;
    for (const auto& info : kApis) {
        if (!compiled(info.api)) continue;
        auto client = makeClient<Rt>(info.api);
        if (!client) continue;
        const std::string prefix = std::string(info.label) + ": ";
        if (info.virtualPorts) devices.push_back({info.api, "", prefix + virtualName});
        const unsigned count = client->getPortCount();
        for (unsigned i = 0; i < count; ++i) {
            std::string name = client->getPortName(i);
            // Our own ports would only make a loop.
            if (name.rfind(std::string(kClientName) + ":", 0) == 0) continue;
            devices.push_back({info.api, name, prefix + name});
        }
    }
    return devices;
}

template <typename Rt> bool portPresent(Rt& client, const std::string& name) {
    const unsigned count = client.getPortCount();
    for (unsigned i = 0; i < count; ++i)
        if (client.getPortName(i) == name) return true;
    return false;
}

template <typename Rt>
std::unique_ptr<Rt> openClient(const RtDevice& device, const std::string& virtualName,
                               PendingErrors& errors, const std::function<void(Rt&)>& prepare) {
    const ApiInfo* info = infoOf(device.api);
    auto client = makeClient<Rt>(static_cast<RtMidi::Api>(device.api));
    if (!info || !client)
        throw PortError(port_error::kOpenFailed,
                        "The MIDI system of \"" + device.shownName + "\" is not available");
    try {
        prepare(*client);
        if (device.portName.empty()) {
            client->openVirtualPort(virtualName);
        } else {
            const unsigned count = client->getPortCount();
            unsigned index = count;
            for (unsigned i = 0; i < count; ++i)
                if (client->getPortName(i) == device.portName) index = i;
            if (index == count)
                throw PortError(port_error::kOpenFailed,
                                "MIDI device \"" + device.shownName + "\" is not available");
            client->openPort(index, virtualName);
        }
    } catch (const RtMidiError& e) {
        throw PortError(port_error::kOpenFailed,
                        "Cannot open MIDI device \"" + device.shownName + "\": " + e.getMessage());
    }
    client->setErrorCallback(&sinkError, &errors);
    return client;
}

std::vector<std::string> shownNames(const std::vector<RtDevice>& devices) {
    std::vector<std::string> names;
    for (const auto& d : devices)
        names.push_back(d.shownName);
    return names;
}

std::string vanishedText(const RtDevice& device) {
    return "MIDI device \"" + device.shownName + "\" is no longer available";
}

} // namespace

void PendingErrors::add(std::string text) {
    std::lock_guard lock(mutex_);
    texts_.push_back(std::move(text));
}

std::vector<std::string> PendingErrors::take() {
    std::lock_guard lock(mutex_);
    return std::exchange(texts_, {});
}

// ---- input

RtMidiInputSystem::RtMidiInputSystem(std::string virtualName)
    : virtualName_(std::move(virtualName)) {}

RtMidiInputSystem::~RtMidiInputSystem() = default;

std::vector<std::string> RtMidiInputSystem::devices(bool refresh) {
    if (refresh || !enumerated_) {
        devices_ = enumerate<RtMidiIn>(virtualName_);
        enumerated_ = true;
    }
    return shownNames(devices_);
}

void RtMidiInputSystem::open(std::size_t index, InputSink& sink) {
    const RtDevice& device = devices_.at(index);
    in_ = openClient<RtMidiIn>(device, virtualName_, errors_, [&sink](RtMidiIn& client) {
        // SysEx is dropped by the driver; clock and active sensing are filtered by the port.
        client.ignoreTypes(true, false, false);
        client.setCallback(&RtMidiInputSystem::onMidi, &sink);
    });
    opened_ = device;
}

void RtMidiInputSystem::close() {
    in_.reset(); // joins RtMidi's thread: no callback runs after this
    opened_ = {};
}

void RtMidiInputSystem::onMidi(double, std::vector<unsigned char>* message, void* sink) {
    if (!message || message->empty()) return;
    auto* s = static_cast<InputSink*>(sink);
    s->deliver(message->data(), message->size());
    s->wake();
}

OutputSystem::Health RtMidiInputSystem::check() {
    OutputSystem::Health health;
    if (in_ && !opened_.portName.empty() && !portPresent(*in_, opened_.portName))
        health.lost = vanishedText(opened_);
    health.faults = errors_.take();
    return health;
}

// ---- output

RtMidiOutputSystem::RtMidiOutputSystem(std::string virtualName)
    : virtualName_(std::move(virtualName)) {}

RtMidiOutputSystem::~RtMidiOutputSystem() = default;

std::vector<std::string> RtMidiOutputSystem::devices(bool refresh) {
    if (refresh || !enumerated_) {
        devices_ = enumerate<RtMidiOut>(virtualName_);
        enumerated_ = true;
    }
    return shownNames(devices_);
}

void RtMidiOutputSystem::open(std::size_t index) {
    const RtDevice& device = devices_.at(index);
    out_ = openClient<RtMidiOut>(device, virtualName_, errors_, [](RtMidiOut&) {});
    opened_ = device;
}

void RtMidiOutputSystem::close() {
    out_.reset();
    opened_ = {};
}

bool RtMidiOutputSystem::send(const std::uint8_t* bytes, std::size_t size) {
    if (!out_ || size == 0) return true;
    try {
        out_->sendMessage(bytes, size);
        return true;
    } catch (const RtMidiError&) {
        return false;
    }
}

OutputSystem::Health RtMidiOutputSystem::check() {
    Health health;
    if (out_ && !opened_.portName.empty() && !portPresent(*out_, opened_.portName))
        health.lost = vanishedText(opened_);
    health.faults = errors_.take();
    return health;
}

} // namespace kavel
