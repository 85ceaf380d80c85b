// Host commands of the gesture family.
#include "host/commands.h"

namespace host {

int gestureCommand(Context&, const std::string&, const Args&) { return -1; }

}  // namespace host
