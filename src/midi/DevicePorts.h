#pragma once

// The three device choices of the console, in the order input 1, input 2, output: the Setup
// dialog's list of each, its chosen device number and its "No device" index.

#include "console/ProgramState.h"

#include <array>

namespace kavel {

struct DevicePort {
    const char* list;
    int MidiState::*device;
    int MidiState::*noDevice;
};

inline constexpr std::array<DevicePort, 3> kDevicePorts = {{
    {"InputDev1Combo", &MidiState::DISPOSITIVO_IN1, &MidiState::NESSUN_DISPOSITIVO_IN1},
    {"InputDev2Combo", &MidiState::DISPOSITIVO_IN2, &MidiState::NESSUN_DISPOSITIVO_IN2},
    {"outputDevcombo", &MidiState::DISPOSITIVO_OUT, &MidiState::NESSUN_DISPOSITIVO_OUT},
}};

} // namespace kavel
