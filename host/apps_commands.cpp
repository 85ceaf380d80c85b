// Host commands of the apps family.
#include "host/commands.h"

namespace host {

int appsCommand(Context&, const std::string&, const Args&) { return -1; }

}  // namespace host
