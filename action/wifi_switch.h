// The Wi-Fi radio switch.
#pragma once

namespace sc {

// Flips the software radio state of every PHY of every ready wireless interface: on becomes off,
// anything else becomes on. Failures only shorten the walk; nothing is reported.
void toggleWifiRadio();

} // namespace sc
