#pragma once

// Finding a device again by the name it had when it was chosen.

#include <string>
#include <string_view>
#include <vector>

namespace kavel {

// The index of `name` among the first `count` entries of `listed`: the first entry of that
// exact name, else the first ALSA entry ("ALSA: ...", as the device lists show them) that
// differs only by the port address the sequencer gives (" 24:0", which changes when a USB
// device is plugged in again); -1 when none.
// `taken`, a device another port has open, is passed over.
int deviceIndexByName(const std::vector<std::string>& listed, int count, std::string_view name,
                      int taken = -1);

} // namespace kavel
