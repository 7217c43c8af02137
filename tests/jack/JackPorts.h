#pragma once

// Finding ports by name, and the harness's own JACK clients (keyboards, modules, the bare
// pass-through), on libjack directly: for the JACK tests, the soak and the latency benchmark.

#include "midi/jack/CycleOrder.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace kavel::test {

// The device number under which one of Kavel's port controls lists `name`, or -1.
template <typename Port> int indexOf(Port& port, const std::string& name) {
    const int n = port.DeviceCount();
    for (int i = 0; i < n; ++i) {
        port.DeviceID(i);
        if (port.DeviceName() == name) return i;
    }
    return -1;
}

// A JACK client with one MIDI input and one MIDI output. What arrives is handed to `heard` on
// JACK's thread; what is sent goes out at the next cycle, one message an event, in order.
// Torn down in the safe order: deactivate, unregister, close, then the queue is freed.
class TestClient {
  public:
    using Heard = std::function<void(const unsigned char*, std::size_t)>;

    explicit TestClient(const std::string& name, Heard heard = {}) : heard_(std::move(heard)) {
        client_ = jack_client_open(name.c_str(), JackNoStartServer, nullptr);
        if (!client_) return;
        in_ = jack_port_register(client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        out_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        jack_set_process_callback(client_, &TestClient::process, this);
        jack_activate(client_);
    }
    ~TestClient() {
        if (!client_) return;
        jack_deactivate(client_);
        jack_port_unregister(client_, in_);
        jack_port_unregister(client_, out_);
        jack_client_close(client_);
    }
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    bool ok() const { return client_ && in_ && out_; }
    std::string inName() const { return jack_port_name(in_); }
    std::string outName() const { return jack_port_name(out_); }

    // Connects this client's output to the first port whose name contains `part` (or its
    // input from it, `from`). False when there is none.
    bool connectTo(const std::string& part) { return link(part, false); }
    bool connectFrom(const std::string& part) { return link(part, true); }

    void send(std::vector<unsigned char> message) {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(message));
    }
    std::size_t pending() {
        std::lock_guard lock(mutex_);
        return pending_.size();
    }

  private:
    bool link(const std::string& part, bool from) {
        const char** names = jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE,
                                            from ? JackPortIsOutput : JackPortIsInput);
        std::string found;
        const std::string own = std::string(jack_get_client_name(client_)) + ":";
        for (const char** n = names; n && *n && found.empty(); ++n)
            if (std::string(*n).find(part) != std::string::npos &&
                std::string(*n).rfind(own, 0) != 0)
                found = *n;
        if (names) jack_free(names);
        if (found.empty()) return false;
        return from ? jack_connect(client_, found.c_str(), jack_port_name(in_)) == 0
                    : jack_connect(client_, jack_port_name(out_), found.c_str()) == 0;
    }

    static int process(jack_nframes_t frames, void* self) {
        auto& c = *static_cast<TestClient*>(self);
        [[maybe_unused]] const CycleOrder order;
        void* in = jack_port_get_buffer(c.in_, frames);
        const std::uint32_t count = jack_midi_get_event_count(in);
        for (std::uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, in, i) == 0 && c.heard_)
                c.heard_(event.buffer, event.size);
        }
        void* out = jack_port_get_buffer(c.out_, frames);
        jack_midi_clear_buffer(out);
        // Never waits on the sender: a cycle that finds the queue busy sends at the next.
        std::unique_lock lock(c.mutex_, std::try_to_lock);
        if (!lock) return 0;
        while (!c.pending_.empty()) {
            const auto& m = c.pending_.front();
            jack_midi_data_t* room = jack_midi_event_reserve(out, 0, m.size());
            if (!room) break;
            std::copy(m.begin(), m.end(), room);
            c.pending_.pop_front();
        }
        return 0;
    }

    Heard heard_;
    jack_client_t* client_ = nullptr;
    jack_port_t* in_ = nullptr;
    jack_port_t* out_ = nullptr;
    std::mutex mutex_;
    std::deque<std::vector<unsigned char>> pending_;
};

} // namespace kavel::test
