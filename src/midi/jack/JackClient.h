#pragma once

// Kavel's one JACK client, "Kavel", shared by both inputs and the output. Its ports "in 1",
// "in 2" and "out" are registered as they are first opened and stay until Kavel closes; a chosen
// device is a connection from or to that port, made at opening and undone at closing. The device
// lists are read through this client, and re-read only after JACK said a port came or went. A
// device or the server going away is seen through JACK's callbacks; while there is no server, one
// is looked for every few seconds, quietly.
//
// Threads: JACK's process thread only reads the open ports, hands input to the sinks and drains
// the output ring; JACK's notification thread only sets flags. Everything else runs on the
// user-interface thread.

#include "midi/InputSystem.h"
#include "midi/jack/MessageRing.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

struct _jack_client;
struct _jack_port;

namespace kavel {

class JackClient {
  public:
    enum class Port { In1, In2, Out };

    explicit JackClient(std::string name = "Kavel");
    ~JackClient();
    JackClient(const JackClient&) = delete;
    JackClient& operator=(const JackClient&) = delete;

    // Looks for a server when there is none (every few seconds at most) and closes the client
    // of a server that went away. True while connected.
    bool poll();

    // Full names of the other clients' MIDI ports: sources (their outputs, for Kavel's inputs)
    // or destinations. `refresh`: read again if JACK reported a port change since.
    std::vector<std::string> ports(bool sources, bool refresh);

    // Registers Kavel's port (once) and connects it to `device` (a full port name; empty: none, the
    // port alone for others to connect to); an input delivers into `sink`. Throws PortError
    // (naming `shownName`) and stays closed.
    void open(Port port, const std::string& device, const std::string& shownName, InputSink* sink);
    // Disconnects; no process cycle uses the port after this returns. What the output was sent
    // goes out first (as long as the server takes it).
    void close(Port port);

    // One whole message into the output ring; waits briefly while the ring is full. False
    // only for the first message left out since the output was opened: said once.
    bool send(const std::uint8_t* bytes, std::size_t size);

    // The open device's loss (empty when it is there) and the faults since the last look.
    OutputSystem::Health check(Port port, const std::string& shownName);

  private:
    struct Slot {
        std::atomic<_jack_port*> port{nullptr}; // read by the process thread
        std::atomic<InputSink*> sink{nullptr};
        _jack_port* registered = nullptr;
        std::string device;
        bool open = false;
        bool lost = false;
        std::uint64_t seenGeneration = 0;
    };

    bool connect();
    void disconnect(bool serverGone);
    void stopUsing(Slot& slot);
    void drainOutput();
    void awaitCycles(std::uint64_t count);
    _jack_port* registerPort(Port port);
    Slot& slot(Port port) { return slots_[static_cast<std::size_t>(port)]; }

    friend struct JackCallbacks;

    std::string name_;
    _jack_client* client_ = nullptr;
    bool triedOnce_ = false;
    std::chrono::steady_clock::time_point lastTry_{};
    std::array<Slot, 3> slots_;
    MessageRing ring_;
    unsigned dropped_ = 0;
    bool dropReported_ = false;

    std::atomic<bool> inProcess_{false};
    std::atomic<std::uint64_t> cycles_{0};
    std::atomic<bool> serverGone_{false};
    std::atomic<std::uint64_t> generation_{1}; // bumped by every port registration
    std::array<std::uint64_t, 2> listedGeneration_{};
    std::array<std::vector<std::string>, 2> listed_; // destinations, sources
};

} // namespace kavel
