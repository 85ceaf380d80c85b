// The hash and version exports.
#include "common/fnv.h"
#include "exports/boundary.h"

extern "C" {

uint32_t STROKECAST_CALL GetFnvHash(const sc_char* text) {
    // A null pointer hashes as the empty text.
    return sc::guarded<uint32_t>(sc::kFnvOffsetBasis,
                                 [&] { return text ? sc::fnvHash(sc::text(text)) : sc::kFnvOffsetBasis; });
}

uint32_t STROKECAST_CALL StrokecastVersion(void) {
    return STROKECAST_VERSION_NUMBER;
}
}
