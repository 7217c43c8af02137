#include "midi/SystemsInputPort.h"

namespace kavel {

SystemsInputPort::SystemsInputPort(std::vector<InputSystem*> systems, std::function<void()> wake)
    : systems_(std::move(systems)), wake_(std::move(wake)) {}

SystemsInputPort::~SystemsInputPort() {
    closeIfOpen();
}

int SystemsInputPort::backendDeviceCount(bool refresh) {
    if (refresh || !listed_) {
        devices_.clear();
        for (InputSystem* system : systems_) {
            auto names = system->devices(refresh || !listed_);
            for (std::size_t i = 0; i < names.size(); ++i)
                devices_.push_back({system, i, std::move(names[i])});
        }
        listed_ = true;
    }
    return static_cast<int>(devices_.size());
}

std::string SystemsInputPort::backendDeviceName(int id) {
    if (id < 0 || id >= static_cast<int>(devices_.size())) return {};
    return devices_[static_cast<std::size_t>(id)].name;
}

void SystemsInputPort::backendOpen(int id) {
    const Device& device = devices_.at(static_cast<std::size_t>(id));
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
