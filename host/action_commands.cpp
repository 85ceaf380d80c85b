// Host commands of the action family.
#include "host/commands.h"

namespace host {

int actionCommand(Context&, const std::string&, const Args&) { return -1; }

}  // namespace host
