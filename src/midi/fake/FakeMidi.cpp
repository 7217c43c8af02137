#include "midi/fake/FakeMidi.h"

namespace kavel {

namespace {

std::string nameAt(const std::vector<std::string>& names, int id) {
    if (id < 0 || id >= static_cast<int>(names.size())) return {};
    return names[static_cast<std::size_t>(id)];
}

int readList(const FakeDeviceList& list, std::vector<std::string>& read, bool& wasRead,
             bool refresh) {
    if (refresh || !wasRead) read = list.listed();
    wasRead = true;
    return static_cast<int>(read.size());
}

std::string goneText(const std::string& name) {
    return "MIDI device \"" + name + "\" is no longer available";
}

void openOrThrow(const FakeDeviceList& list, const std::vector<std::string>& read, int id) {
    const std::string name = nameAt(read, id);
    if (list.failing.contains(name) || list.absent.contains(name))
        throw PortError(port_error::kOpenFailed, "Cannot open MIDI device \"" + name + "\"");
}

} // namespace

std::vector<std::string> FakeDeviceList::listed() const {
    std::vector<std::string> shown;
    for (const auto& name : names)
        if (!absent.contains(name)) shown.push_back(name);
    return shown;
}

int FakeMidiOutput::backendDeviceCount(bool refresh) {
    return readList(devices, read_, wasRead_, refresh);
}

std::string FakeMidiOutput::backendDeviceName(int id) {
    return nameAt(read_, id);
}

void FakeMidiOutput::backendOpen(int id) {
    openOrThrow(devices, read_, id);
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
    lost(goneText(openedName()));
}

void FakeMidiOutput::checkDevice() {
    if (isOpen() && devices.absent.contains(openedName())) vanish();
}

int FakeMidiInput::backendDeviceCount(bool refresh) {
    return readList(devices, read_, wasRead_, refresh);
}

std::string FakeMidiInput::backendDeviceName(int id) {
    return nameAt(read_, id);
}

void FakeMidiInput::backendOpen(int id) {
    openOrThrow(devices, read_, id);
    openedDevice = id;
    ++openCount;
}

void FakeMidiInput::backendClose() {
    openedDevice = -1;
    ++closeCount;
}

void FakeMidiInput::vanish() {
    lost(goneText(openedName()));
}

void FakeMidiInput::checkDevice() {
    if (isOpen() && devices.absent.contains(openedName())) vanish();
}

} // namespace kavel
