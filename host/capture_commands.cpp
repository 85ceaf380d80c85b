// Host commands of the capture family.
#include "host/commands.h"

namespace host {

int captureCommand(Context&, const std::string&, const Args&) { return -1; }

}  // namespace host
