#include "midi/MidiPorts.h"

#include "stops_table/SysExCheck.h"

#include <array>

namespace kavel {

namespace {

void checkRange(int id, int count) {
    if (id < 0 || id >= count)
        throw PortError(port_error::kBadDevice,
                        "MIDI device number " + std::to_string(id) + " does not exist");
}

// Bytes of a short message by its status; system common and real-time included.
std::size_t shortLength(int status) {
    if (status >= 0xF0) {
        switch (status) {
        case 0xF1:
        case 0xF3:
            return 2;
        case 0xF2:
            return 3;
        default:
            return 1;
        }
    }
    const int type = status & 0xF0;
    return (type == 0xC0 || type == 0xD0) ? 2 : 3;
}

bool isDataByte(int b) {
    return b >= 0 && b <= 0x7F;
}

// System status bytes MIDI leaves undefined: no module gives them a meaning.
bool isUndefinedStatus(int status) {
    return status == 0xF4 || status == 0xF5 || status == 0xF9 || status == 0xFD;
}

} // namespace

// ---- both

int MidiPort::DeviceCount() {
    return backendDeviceCount(true);
}

void MidiPort::DeviceID(int id) {
    checkRange(id, backendDeviceCount(false));
    deviceId_ = id;
}

std::string MidiPort::DeviceName() {
    return backendDeviceName(deviceId_);
}

void MidiPort::openChosen() {
    closeIfOpen();
    checkRange(deviceId_, backendDeviceCount(false));
    backendOpen(deviceId_);
    open_ = true;
    openedName_ = backendDeviceName(deviceId_);
}

void MidiPort::closeIfOpen() {
    if (open_) backendClose();
    open_ = false;
}

void MidiPort::raiseError(int code, std::string text) {
    if (!Error) return;
    int c = code;
    Error(c, text);
}

// ---- output

void MidiOutput::Action(int code) {
    switch (code) {
    case action::kOpen:
        openChosen();
        break;
    case action::kClose:
        closeIfOpen();
        break;
    case action::kSend: {
        if (!isOpen()) {
            ++unsent_;
            return;
        }
        bool sent;
        if (status_ == 0xF0) {
            if (!isSysExStream(sysex_)) return refuse();
            sent = backendSend(reinterpret_cast<const std::uint8_t*>(sysex_.data()), sysex_.size());
        } else {
            if (status_ < 0x80 || status_ > 0xFF || status_ == 0xF7 || isUndefinedStatus(status_))
                return refuse();
            const std::size_t size = shortLength(status_);
            if ((size > 1 && !isDataByte(data1_)) || (size > 2 && !isDataByte(data2_)))
                return refuse();
            const std::array<std::uint8_t, 3> bytes = {static_cast<std::uint8_t>(status_),
                                                       static_cast<std::uint8_t>(data1_),
                                                       static_cast<std::uint8_t>(data2_)};
            sent = backendSend(bytes.data(), size);
        }
        if (!sent) raiseError(port_error::kSendFailed, "The MIDI output refused a message");
        break;
    }
    default:
        break; // 4 (start) has nothing to do on an output
    }
}

void MidiOutput::refuse() {
    ++refused_;
    if (refusalReported_) return;
    refusalReported_ = true;
    raiseError(port_error::kMalformed,
               "Kavel did not send a message to \"" + DeviceName() +
                   "\" because it was not valid MIDI (a damaged Stops Table entry or memory?). "
                   "Such messages are left out from now on without a further warning.");
}

void MidiOutput::lost(const std::string& text) {
    closeIfOpen();
    raiseError(port_error::kVanished, text);
}

// ---- input

void MidiInput::Filter(int status, bool drop) {
    if (status >= 0 && status < 256) filtered_[static_cast<std::size_t>(status)] = drop;
}

void MidiInput::Action(int code) {
    switch (code) {
    case action::kOpen:
        started_ = false;
        closeIfOpen();
        queue_.clear();
        overflowed_ = 0;
        overflowReported_ = false;
        openChosen();
        break;
    case action::kStart:
        started_ = isOpen();
        break;
    case action::kClose:
        started_ = false;
        closeIfOpen();
        queue_.clear();
        break;
    case action::kRemoveOldest:
        queue_.pop();
        break;
    default:
        break;
    }
}

void MidiInput::receive(const std::uint8_t* bytes, std::size_t size) noexcept {
    if (size == 0 || !started_.load(std::memory_order_acquire)) return;
    const std::uint8_t status = bytes[0];
    // Keyboards' SysEx never reaches the console, nor does a stray data byte or a status byte
    // that means nothing.
    if (status == 0xF0 || status == 0xF7 || status < 0x80 || isUndefinedStatus(status)) return;
    if (filtered_[status].load(std::memory_order_relaxed)) return;
    ShortMessage m{status, size > 1 ? bytes[1] : std::uint8_t{0},
                   size > 2 ? bytes[2] : std::uint8_t{0}};
    if (!queue_.push(m)) overflowed_.fetch_add(1, std::memory_order_relaxed);
}

void MidiInput::dispatch() {
    if (!overflowReported_ && overflowed_.load(std::memory_order_relaxed) != 0) {
        overflowReported_ = true;
        raiseError(port_error::kQueueOverflow,
                   "MIDI input overflow on \"" + DeviceName() + "\": incoming messages were lost");
    }
    if (inMessage_ || queue_.size() == 0 || !Message) return;
    inMessage_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inMessage_};
    Message();
}

void MidiInput::lost(const std::string& text) {
    started_ = false;
    closeIfOpen();
    queue_.clear();
    raiseError(port_error::kVanished, text);
}

} // namespace kavel
