#include "midi/rtmidi/RtMidiPorts.h"

#include <RtMidi.h>
#include <alsa/asoundlib.h>
#include <jack/jack.h>

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

// The order of the device lists.
constexpr std::array kApis = {
    ApiInfo{RtMidi::LINUX_ALSA, "ALSA", true},
    ApiInfo{RtMidi::UNIX_JACK, "JACK", true},
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
void silentJack(const char*) {}

// RtMidi reports a failed start from its constructor, before an error callback can be set, so
// ALSA and JACK are tried directly first, with their libraries' own messages muted.
bool alsaStarts() {
    const snd_lib_error_handler_t previous = snd_lib_error;
    snd_lib_error_set_handler(&silentAlsa);
    snd_seq_t* seq = nullptr;
    const bool started = snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) == 0;
    if (started) snd_seq_close(seq);
    snd_lib_error_set_handler(previous);
    return started;
}

bool jackStarts() {
    void (*previousError)(const char*) = jack_error_callback;
    void (*previousInfo)(const char*) = jack_info_callback;
    jack_set_error_function(&silentJack);
    jack_set_info_function(&silentJack);
    jack_client_t* client = jack_client_open(kClientName, JackNoStartServer, nullptr);
    if (client) jack_client_close(client);
    jack_set_error_function(previousError);
    jack_set_info_function(previousInfo);
    return client != nullptr;
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
    if (api == RtMidi::UNIX_JACK) {
        static const bool jack =
            reportStart(jackStarts(), "no JACK server; JACK MIDI ports are left out");
        return jack;
    }
    return true;
}

// A client of `api`, or nothing when that MIDI system does not start here (ALSA throws
// without a sequencer; JACK only warns without a server and fails later).
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

std::string nameAt(const std::vector<RtDevice>& devices, int id) {
    if (id < 0 || id >= static_cast<int>(devices.size())) return {};
    return devices[static_cast<std::size_t>(id)].shownName;
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

RtMidiInputPort::RtMidiInputPort(std::string virtualName, std::function<void()> wake)
    : virtualName_(std::move(virtualName)), wake_(std::move(wake)) {}

RtMidiInputPort::~RtMidiInputPort() = default;

int RtMidiInputPort::backendDeviceCount(bool refresh) {
    if (refresh || !enumerated_) {
        devices_ = enumerate<RtMidiIn>(virtualName_);
        enumerated_ = true;
    }
    return static_cast<int>(devices_.size());
}

std::string RtMidiInputPort::backendDeviceName(int id) {
    return nameAt(devices_, id);
}

void RtMidiInputPort::backendOpen(int id) {
    const RtDevice& device = devices_.at(static_cast<std::size_t>(id));
    in_ = openClient<RtMidiIn>(device, virtualName_, errors_, [this](RtMidiIn& client) {
        // SysEx is dropped by the driver; clock and active sensing are filtered here.
        client.ignoreTypes(true, false, false);
        client.setCallback(&RtMidiInputPort::onMidi, this);
    });
    opened_ = device;
}

void RtMidiInputPort::backendClose() {
    in_.reset(); // joins RtMidi's thread: no callback runs after this
    opened_ = {};
}

void RtMidiInputPort::onMidi(double, std::vector<unsigned char>* message, void* self) {
    auto* port = static_cast<RtMidiInputPort*>(self);
    if (!message || message->empty()) return;
    port->receive(message->data(), message->size());
    port->wake_();
}

void RtMidiInputPort::checkDevice() {
    // The faults of sends into a device that went away say nothing more than its loss.
    if (in_ && !opened_.portName.empty() && !portPresent(*in_, opened_.portName)) {
        errors_.take();
        return lost(vanishedText(opened_));
    }
    for (auto& text : errors_.take())
        raiseError(port_error::kDriver, std::move(text));
}

// ---- output

RtMidiOutputPort::RtMidiOutputPort(std::string virtualName)
    : virtualName_(std::move(virtualName)) {}

RtMidiOutputPort::~RtMidiOutputPort() = default;

int RtMidiOutputPort::backendDeviceCount(bool refresh) {
    if (refresh || !enumerated_) {
        devices_ = enumerate<RtMidiOut>(virtualName_);
        enumerated_ = true;
    }
    return static_cast<int>(devices_.size());
}

std::string RtMidiOutputPort::backendDeviceName(int id) {
    return nameAt(devices_, id);
}

void RtMidiOutputPort::backendOpen(int id) {
    const RtDevice& device = devices_.at(static_cast<std::size_t>(id));
    out_ = openClient<RtMidiOut>(device, virtualName_, errors_, [](RtMidiOut&) {});
    opened_ = device;
}

void RtMidiOutputPort::backendClose() {
    out_.reset();
    opened_ = {};
}

bool RtMidiOutputPort::backendSend(const std::uint8_t* bytes, std::size_t size) {
    if (!out_ || size == 0) return true;
    try {
        out_->sendMessage(bytes, size);
        return true;
    } catch (const RtMidiError&) {
        return false;
    }
}

void RtMidiOutputPort::checkDevice() {
    // The faults of sends into a device that went away say nothing more than its loss.
    if (out_ && !opened_.portName.empty() && !portPresent(*out_, opened_.portName)) {
        errors_.take();
        return lost(vanishedText(opened_));
    }
    for (auto& text : errors_.take())
        raiseError(port_error::kDriver, std::move(text));
}

} // namespace kavel
