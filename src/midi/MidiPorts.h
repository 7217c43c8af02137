#pragma once

// The MIDI input and output controls of the main window. The operations are those the console
// relies on (device list, open/start/close, filters, a receive queue with a Message event,
// short and SysEx sends, an Error event); a backend supplies the devices underneath.

#include "midi/InputQueue.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace kavel {

// Error codes of the Error events and of the failures Action and DeviceID throw.
namespace port_error {
inline constexpr int kBadDevice = 1;     // device number outside the list
inline constexpr int kOpenFailed = 2;    // the device refused to open
inline constexpr int kVanished = 3;      // an open device went away
inline constexpr int kQueueOverflow = 4; // input arrived faster than it was handled
inline constexpr int kSendFailed = 5;    // the driver refused a message
inline constexpr int kDriver = 6;        // the MIDI system reported a fault
inline constexpr int kMalformed = 7;     // a message that is not valid MIDI was not sent
inline constexpr int kNoSound = 9;       // the built-in module found no audio device or SoundFont
} // namespace port_error

// Raised by DeviceID and by Action 1 (open): the port is left closed.
class PortError : public std::runtime_error {
  public:
    PortError(int code, const std::string& text) : std::runtime_error(text), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

namespace action {
inline constexpr int kOpen = 1;
inline constexpr int kClose = 2;
inline constexpr int kStart = 4;
inline constexpr int kRemoveOldest = 6;
inline constexpr int kSend = 7;
} // namespace action

using ErrorEvent = std::function<void(int& ErrorCode, std::string& ErrorMessage)>;

// What both kinds of port share: the device list, the choice of device, opening and closing,
// and the Error event.
class MidiPort {
  public:
    virtual ~MidiPort() = default;

    int DeviceCount();
    void DeviceID(int id); // throws PortError when out of range
    std::string DeviceName();

    bool isOpen() const { return open_; }
    // The device last opened, still known after it went away: it is looked for by this name.
    const std::string& openedName() const { return openedName_; }
    // Now and then, on the user-interface thread: report driver faults and a device that went
    // away while open (through the Error event, which then names it).
    virtual void checkDevice() {}
    ErrorEvent Error;

  protected:
    // `refresh`: enumerate the devices again; otherwise the last list (enumerated once).
    virtual int backendDeviceCount(bool refresh) = 0;
    virtual std::string backendDeviceName(int id) = 0;
    virtual void backendOpen(int id) = 0; // throws PortError
    virtual void backendClose() = 0;

    // Opens the chosen device, closing what was open; throws PortError and stays closed.
    void openChosen();
    void closeIfOpen();
    void raiseError(int code, std::string text);

  private:
    int deviceId_ = 0;
    bool open_ = false;
    std::string openedName_;
};

class MidiOutput : public MidiPort {
  public:
    void Status(int value) { status_ = value; }
    void Data1(int value) { data1_ = value; }
    void Data2(int value) { data2_ = value; }
    void SysExData(std::string bytes) { sysex_ = std::move(bytes); }
    // 1 open (throws PortError), 4 start, 2 close, 7 send. A send on a closed port does nothing;
    // a message that is not valid MIDI is never sent, only counted (and reported once).
    void Action(int code);
    unsigned refusedMessages() const { return refused_; }
    // Messages meant for the module while the port was closed.
    unsigned unsentMessages() const { return unsent_; }

  protected:
    // Return false when the driver refused the message.
    virtual bool backendSend(const std::uint8_t* bytes, std::size_t size) = 0;
    // A device that went away is closed here and reported.
    void lost(const std::string& text);

  private:
    void refuse();
    int status_ = 0;
    int data1_ = 0;
    int data2_ = 0;
    std::string sysex_;
    unsigned refused_ = 0;
    unsigned unsent_ = 0;
    bool refusalReported_ = false;
};

class MidiInput : public MidiPort {
  public:
    // The eight system messages the console may filter, in the order of its filter settings.
    static constexpr std::array<std::uint8_t, 8> kFilterable = {0xFE, 0xF1, 0xF6, 0xF8,
                                                                0xFA, 0xFB, 0xFD, 0xFF};

    // true = drop incoming messages with this system status byte.
    void Filter(int status, bool drop);
    int MessageCount() const { return static_cast<int>(queue_.size()); }
    // The oldest waiting message; 0 when the queue is empty.
    int Status() const { return queue_.size() ? queue_.front().status : 0; }
    int Data1() const { return queue_.size() ? queue_.front().data1 : 0; }
    int Data2() const { return queue_.size() ? queue_.front().data2 : 0; }
    // 1 open (throws PortError), 4 start, 2 close, 6 remove the oldest message.
    void Action(int code);

    unsigned lostMessages() const { return overflowed_.load(std::memory_order_relaxed); }
    std::function<void()> Message;

    // On the user-interface thread: raise Message while messages wait (never inside this
    // input's own Message handler), and report a lost message once.
    void dispatch();

  protected:
    // Any thread, allocation-free: filter, drop SysEx, queue.
    void receive(const std::uint8_t* bytes, std::size_t size) noexcept;
    void lost(const std::string& text);

  private:
    InputQueue queue_;
    std::array<std::atomic<bool>, 256> filtered_{};
    std::atomic<bool> started_{false};
    std::atomic<unsigned> overflowed_{0};
    bool overflowReported_ = false;
    bool inMessage_ = false;
};

// The three MIDI controls of the main window.
struct Ports {
    MidiInput& in1;
    MidiInput& in2;
    MidiOutput& out;
};

} // namespace kavel
