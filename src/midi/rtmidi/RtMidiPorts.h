#pragma once

// The MIDI controls on RtMidi. The device lists hold the ports of every API that starts on this
// machine (ALSA, then JACK on Linux), each name prefixed by its API; where an API has virtual
// ports, its first entry is Kavel's own port, for software synthesizers and virtual keyboards.
// RtMidi's thread only queues the message and calls `wake`; everything else runs on the
// user-interface thread.

#include "midi/MidiPorts.h"

#include <functional>
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
    std::string shownName; // "ALSA: ..." / "JACK: Kavel In 1"
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

class RtMidiInputPort : public MidiInput {
  public:
    // `virtualName`: "Kavel In 1"; `wake` is called on RtMidi's thread after each message and
    // must be cheap and thread-safe.
    RtMidiInputPort(std::string virtualName, std::function<void()> wake);
    ~RtMidiInputPort() override;

    void checkDevice() override;

  protected:
    int backendDeviceCount(bool refresh) override;
    std::string backendDeviceName(int id) override;
    void backendOpen(int id) override;
    void backendClose() override;

  private:
    static void onMidi(double, std::vector<unsigned char>* message, void* self);

    std::string virtualName_;
    std::function<void()> wake_;
    std::vector<RtDevice> devices_;
    bool enumerated_ = false;
    std::unique_ptr<RtMidiIn> in_;
    RtDevice opened_;
    PendingErrors errors_;
};

class RtMidiOutputPort : public MidiOutput {
  public:
    explicit RtMidiOutputPort(std::string virtualName);
    ~RtMidiOutputPort() override;

    void checkDevice() override;

  protected:
    int backendDeviceCount(bool refresh) override;
    std::string backendDeviceName(int id) override;
    void backendOpen(int id) override;
    void backendClose() override;
    bool backendSend(const std::uint8_t* bytes, std::size_t size) override;

  private:
    std::string virtualName_;
    std::vector<RtDevice> devices_;
    bool enumerated_ = false;
    std::unique_ptr<RtMidiOut> out_;
    RtDevice opened_;
    PendingErrors errors_;
};

} // namespace kavel
