// The Wi-Fi radio switch.
#pragma once

namespace sc {

// Flips the software radio state of every PHY of every ready wireless interface: on becomes off,
// anything else becomes on. Failures only shorten the walk. true when at least one radio was switched;
// false, with the cause recorded for the host, when none could be (no ready interface, no radio).
bool toggleWifiRadio();

} // namespace sc
