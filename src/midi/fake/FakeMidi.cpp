#include "midi/fake/FakeMidi.h"

namespace kavel {

namespace {

std::string nameAt(const FakeDeviceList& list, int id) {
    if (id < 0 || id >= static_cast<int>(list.names.size())) return {};
    return list.names[static_cast<std::size_t>(id)];
}

void openOrThrow(const FakeDeviceList& list, int id) {
    const std::string name = nameAt(list, id);
    if (list.failing.contains(name))
        throw PortError(port_error::kOpenFailed, "Cannot open MIDI device \"" + name + "\"");
}

} // namespace

std::string FakeMidiOutput::backendDeviceName(int id) {
    return nameAt(devices, id);
}

void FakeMidiOutput::backendOpen(int id) {
    openOrThrow(devices, id);
    openedDevice = id;
    ++openCount;
}

void FakeMidiOutput::backendClose() {
    openedDevice = -1;
    ++closeCount;
}

bool FakeMidiOutput::backendSend(const std::uint8_t* bytes, std::size_t size) {
    SentMessage m{clock ? clock() : 0.0, std::vector<std::uint8_t>(bytes, bytes + size)};
    if (onSend) onSend(m.bytes);
    sent.push_back(std::move(m));
    return true;
}

void FakeMidiOutput::vanish() {
    lost("MIDI device \"" + nameAt(devices, openedDevice) + "\" is no longer available");
}

std::string FakeMidiInput::backendDeviceName(int id) {
    return nameAt(devices, id);
}

void FakeMidiInput::backendOpen(int id) {
    openOrThrow(devices, id);
    openedDevice = id;
    ++openCount;
}

void FakeMidiInput::backendClose() {
    openedDevice = -1;
    ++closeCount;
}

void FakeMidiInput::vanish() {
    lost("MIDI device \"" + nameAt(devices, openedDevice) + "\" is no longer available");
}

} // namespace kavel
