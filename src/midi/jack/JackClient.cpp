#include "midi/jack/JackClient.h"

#include "midi/MidiPorts.h"
#include "midi/jack/CycleOrder.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <cerrno>
#include <cstdio>
#include <thread>

namespace kavel {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// While there is no server: how often one is looked for.
constexpr auto kRetry = 3s;
// How long a send waits for the process thread to make room in a full ring.
constexpr auto kSendWait = 1s;
constexpr std::size_t kRingBytes = 1 << 16;

constexpr std::array<const char*, 3> kPortNames = {"in 1", "in 2", "out"};

void silent(const char*) {}

// libjack's own messages about a missing server would repeat at every look.
struct MutedJack {
    void (*error)(const char*) = jack_error_callback;
    void (*info)(const char*) = jack_info_callback;
    MutedJack() {
        jack_set_error_function(&silent);
        jack_set_info_function(&silent);
    }
    ~MutedJack() {
        jack_set_error_function(error);
        jack_set_info_function(info);
    }
};

std::string vanished(const std::string& shownName) {
    return "MIDI device \"" + shownName + "\" is no longer available";
}

} // namespace

struct JackCallbacks {
    static int process(jack_nframes_t frames, void* self) noexcept {
        auto& c = *static_cast<JackClient*>(self);
        [[maybe_unused]] const CycleOrder order;
        c.inProcess_.store(true);
        for (std::size_t i = 0; i < 2; ++i) {
            jack_port_t* port = c.slots_[i].port.load();
            InputSink* sink = c.slots_[i].sink.load();
            if (!port || !sink) continue;
            void* buffer = jack_port_get_buffer(port, frames);
            const std::uint32_t count = jack_midi_get_event_count(buffer);
            for (std::uint32_t e = 0; e < count; ++e) {
                jack_midi_event_t event;
                if (jack_midi_event_get(&event, buffer, e) == 0)
                    sink->deliver(event.buffer, event.size);
            }
            if (count > 0) sink->wake();
        }
        if (jack_port_t* port = c.slots_[2].port.load()) {
            void* buffer = jack_port_get_buffer(port, frames);
            jack_midi_clear_buffer(buffer);
            // One message an event, in order; what does not fit waits for the next cycle.
            while (const std::size_t size = c.ring_.peek()) {
                if (size > jack_midi_max_event_size(buffer)) {
                    if (jack_midi_get_event_count(buffer) > 0) break;
                    c.ring_.skip(); // larger than an empty buffer: it can never go
                    continue;
                }
                jack_midi_data_t* room = jack_midi_event_reserve(buffer, 0, size);
                if (!room) break;
                c.ring_.read(room);
            }
        }
        c.cycles_.fetch_add(1);
        c.inProcess_.store(false);
        return 0;
    }
    static void portRegistered(jack_port_id_t, int, void* self) noexcept {
        static_cast<JackClient*>(self)->generation_.fetch_add(1);
    }
    static void shutdown(jack_status_t, const char*, void* self) noexcept {
        static_cast<JackClient*>(self)->serverGone_.store(true);
    }
};

JackClient::JackClient(std::string name) : name_(std::move(name)), ring_(kRingBytes) {}

JackClient::~JackClient() {
    if (client_) disconnect(serverGone_.load());
}

bool JackClient::connect() {
    lastTry_ = Clock::now();
    {
        MutedJack muted;
        client_ = jack_client_open(name_.c_str(), JackNoStartServer, nullptr);
    }
    const bool first = !triedOnce_;
    triedOnce_ = true;
    if (client_) {
        serverGone_ = false;
        jack_set_process_callback(client_, &JackCallbacks::process, this);
        jack_set_port_registration_callback(client_, &JackCallbacks::portRegistered, this);
        jack_on_info_shutdown(client_, &JackCallbacks::shutdown, this);
        if (jack_activate(client_) == 0) {
            generation_.fetch_add(1);
            return true;
        }
        jack_client_close(client_);
        client_ = nullptr;
    }
    if (first) std::fprintf(stderr, "Kavel: no JACK server; JACK MIDI ports are left out\n");
    return false;
}

void JackClient::stopUsing(Slot& s) {
    s.port.store(nullptr);
    s.sink.store(nullptr);
    // A cycle that took the port before it was cleared is over once this is false.
    while (inProcess_.load())
        std::this_thread::sleep_for(50us);
}

// Deactivate, unregister, close; the ring and the slots are freed with this object, after.
void JackClient::disconnect(bool serverGone) {
    for (Slot& s : slots_)
        stopUsing(s);
    if (!serverGone) {
        jack_deactivate(client_);
        for (Slot& s : slots_)
            if (s.registered) jack_port_unregister(client_, s.registered);
    }
    jack_client_close(client_);
    client_ = nullptr;
    for (Slot& s : slots_) {
        s.registered = nullptr;
        if (s.open) s.lost = true;
    }
    generation_.fetch_add(1);
    lastTry_ = Clock::now();
}

bool JackClient::poll() {
    if (client_ && serverGone_.load()) disconnect(true);
    if (!client_ && (!triedOnce_ || Clock::now() - lastTry_ >= kRetry)) connect();
    return client_ != nullptr;
}

std::vector<std::string> JackClient::ports(bool sources, bool refresh) {
    if (!poll()) return {};
    auto& list = listed_[sources ? 1 : 0];
    auto& seen = listedGeneration_[sources ? 1 : 0];
    const std::uint64_t now = generation_.load();
    if (seen != 0 && (!refresh || seen == now)) return list;
    seen = now;
    list.clear();
    const std::string own = std::string(jack_get_client_name(client_)) + ":";
    const char** names = jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE,
                                        sources ? JackPortIsOutput : JackPortIsInput);
    for (const char** n = names; n && *n; ++n)
        if (std::string(*n).rfind(own, 0) != 0) list.emplace_back(*n); // our own: a loop
    if (names) jack_free(names);
    return list;
}

jack_port_t* JackClient::registerPort(Port port) {
    const bool input = port != Port::Out;
    return jack_port_register(client_, kPortNames[static_cast<std::size_t>(port)],
                              JACK_DEFAULT_MIDI_TYPE, input ? JackPortIsInput : JackPortIsOutput,
                              0);
}

void JackClient::open(Port port, const std::string& device, const std::string& shownName,
                      InputSink* sink) {
    close(port);
    if (!poll())
        throw PortError(port_error::kOpenFailed,
                        "The MIDI system of \"" + shownName + "\" is not available");
    Slot& s = slot(port);
    // Registered at its first opening and kept: a patchbay's own connections to it survive the
    // Setup dialog, and libjack is not made to rebuild its port list at every opening.
    if (!s.registered) s.registered = registerPort(port);
    jack_port_t* own = s.registered;
    if (!own)
        throw PortError(port_error::kOpenFailed,
                        "Cannot open MIDI device \"" + shownName + "\": JACK refused the port");
    if (!device.empty()) {
        const bool input = port != Port::Out;
        const int made = input ? jack_connect(client_, device.c_str(), jack_port_name(own))
                               : jack_connect(client_, jack_port_name(own), device.c_str());
        if (made != 0 && made != EEXIST)
            throw PortError(port_error::kOpenFailed,
                            "MIDI device \"" + shownName + "\" is not available");
    }
    if (port == Port::Out) {
        ring_.clear(); // the process thread does not read it while no port is out
        dropped_ = 0;
        dropReported_ = false;
    }
    s.device = device;
    s.open = true;
    s.lost = false;
    s.seenGeneration = generation_.load();
    s.sink.store(sink);
    s.port.store(own);
    // A new connection carries messages from the server's next graph on: what the console
    // sends right after opening (the reset at Setup's OK) must not go into a cycle without it.
    if (!device.empty()) awaitCycles(2);
}

void JackClient::awaitCycles(std::uint64_t count) {
    const auto until = Clock::now() + kSendWait;
    const std::uint64_t from = cycles_.load();
    while (cycles_.load() < from + count && !serverGone_.load() && Clock::now() < until)
        std::this_thread::sleep_for(100us);
}

// Shutdown sends the first global reset and closes at once: it must still reach the module.
void JackClient::drainOutput() {
    const auto until = Clock::now() + kSendWait;
    while (!ring_.drained() && !serverGone_.load() && Clock::now() < until)
        std::this_thread::sleep_for(100us);
    // The cycle that took the last message has handed it on once the next one has begun.
    awaitCycles(2);
}

void JackClient::close(Port port) {
    Slot& s = slot(port);
    if (port == Port::Out && s.open && !s.lost && client_) drainOutput();
    stopUsing(s);
    if (client_ && s.registered && !s.device.empty() && !serverGone_.load()) {
        const std::string own = jack_port_name(s.registered);
        if (port == Port::Out)
            jack_disconnect(client_, own.c_str(), s.device.c_str());
        else
            jack_disconnect(client_, s.device.c_str(), own.c_str());
    }
    s.device.clear();
    s.open = false;
    s.lost = false;
}

bool JackClient::send(const std::uint8_t* bytes, std::size_t size) {
    Slot& s = slot(Port::Out);
    if (!s.open || s.lost) return true; // nothing goes to a device that went away
    if (ring_.fits(size)) {
        const auto until = Clock::now() + kSendWait;
        for (;;) {
            if (ring_.write(bytes, size)) return true;
            if (serverGone_.load() || Clock::now() > until) break;
            std::this_thread::sleep_for(100us);
        }
    }
    // Left out whole, never in part; said once for each opening.
    ++dropped_;
    if (dropReported_) return true;
    dropReported_ = true;
    return false;
}

OutputSystem::Health JackClient::check(Port port, const std::string& shownName) {
    poll();
    OutputSystem::Health health;
    Slot& s = slot(port);
    if (!s.open) return health;
    const std::uint64_t now = generation_.load();
    if (!s.lost && now != s.seenGeneration) {
        s.seenGeneration = now;
        if (!s.device.empty() && client_ && !jack_port_by_name(client_, s.device.c_str()))
            s.lost = true;
    }
    if (s.lost) health.lost = vanished(shownName);
    return health;
}

} // namespace kavel
