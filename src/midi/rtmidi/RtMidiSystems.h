#pragma once

// The MIDI systems RtMidi reaches (ALSA on Linux; CoreMIDI and WinMM elsewhere) as systems of
// the input and output controls. JACK is not among them: Kavel has its own JACK client. Each
// list starts with Kavel's own port where the system has virtual ports, for software
// synthesizers and virtual keyboards. RtMidi's thread only hands messages to the sink;
// everything else runs on the user-interface thread.

#include "midi/InputSystem.h"
#include "midi/OutputSystem.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class RtMidiIn;
class RtMidiOut;

namespace kavel {

struct RtDevice {
    int api = 0;           // RtMidi::Api
    std::string portName;  // as the API names it; empty for the virtual port
    std::string shownName; // "ALSA: ..." / "ALSA: Kavel In 1"
};

// Errors RtMidi reports from any thread, handed to the user-interface thread.
class PendingErrors {
  public:
    void add(std::string text);
    std::vector<std::string> take();

  private:
    std::mutex mutex_;
    std::vector<std::string> texts_;
};

class RtMidiInputSystem : public InputSystem {
  public:
    // `virtualName`: "Kavel In 1".
    explicit RtMidiInputSystem(std::string virtualName);
    ~RtMidiInputSystem() override;

    std::vector<std::string> devices(bool refresh) override;
    void open(std::size_t index, InputSink& sink) override;
    void close() override;
    OutputSystem::Health check() override;

  private:
    static void onMidi(double, std::vector<unsigned char>* message, void* sink);

    std::string virtualName_;
    std::vector<RtDevice> devices_;
    bool enumerated_ = false;
    std::unique_ptr<RtMidiIn> in_;
    RtDevice opened_;
    PendingErrors errors_;
};

class RtMidiOutputSystem : public OutputSystem {
  public:
    explicit RtMidiOutputSystem(std::string virtualName);
    ~RtMidiOutputSystem() override;

    std::vector<std::string> devices(bool refresh) override;
    void open(std::size_t index) override;
    void close() override;
    bool send(const std::uint8_t* bytes, std::size_t size) override;
    Health check() override;

  private:
    std::string virtualName_;
    std::vector<RtDevice> devices_;
    bool enumerated_ = false;
    std::unique_ptr<RtMidiOut> out_;
    RtDevice opened_;
    PendingErrors errors_;
};

} // namespace kavel
