// The names of the one export list, for tests that compare it with what a built library exports.
#pragma once

#include <set>
#include <string>

#include "strokecast.h"

namespace sctest {

inline std::set<std::string> listedExports() {
    std::set<std::string> names;
#define STROKECAST_NAME(result, name, parameters) names.insert(#name);
    STROKECAST_EXPORT_LIST(STROKECAST_NAME)
#undef STROKECAST_NAME
    return names;
}

} // namespace sctest
