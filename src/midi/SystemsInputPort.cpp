#include "midi/SystemsInputPort.h"

namespace kavel {

SystemsInputPort::SystemsInputPort(std::vector<InputSystem*> systems, std::function<void()> wake)
    : wake_(std::move(wake)), devices_(std::move(systems)) {}

SystemsInputPort::~SystemsInputPort() {
    closeIfOpen();
}

int SystemsInputPort::backendDeviceCount(bool refresh) {
    return devices_.count(refresh);
}

std::string SystemsInputPort::backendDeviceName(int id) {
    return devices_.name(id);
}

void SystemsInputPort::backendOpen(int id) {
    const auto& device = devices_.at(id);
    device.system->open(device.index, *this);
    opened_ = device.system;
}

void SystemsInputPort::backendClose() {
    if (opened_) opened_->close();
    opened_ = nullptr;
}

void SystemsInputPort::deliver(const std::uint8_t* bytes, std::size_t size) noexcept {
    receive(bytes, size);
}

void SystemsInputPort::wake() noexcept {
    if (wake_) wake_();
}

void SystemsInputPort::checkDevice() {
    if (!opened_) return;
    auto health = opened_->check();
    // The faults of a device that went away say nothing more than its loss.
    if (!health.lost.empty()) return lost(health.lost);
    for (auto& text : health.faults)
        raiseError(port_error::kDriver, std::move(text));
}

} // namespace kavel
