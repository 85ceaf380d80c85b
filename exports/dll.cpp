// The shared library's own module: nothing to do at load or unload beyond constructing globals.
#include "exports/boundary.h"
