// Exports of the modern-app catalogue and the icons.
#include "exports/boundary.h"

extern "C" {

uint32_t STROKECAST_CALL GetMetroKeyArrary(sc_char*, uint32_t) { return 0; }
uint32_t STROKECAST_CALL GetMetroAppInfo(uint32_t, sc_char*, uint32_t) { return 0; }
void* STROKECAST_CALL GetMetroIcon(const sc_char*, uint32_t) { return nullptr; }
void* STROKECAST_CALL GetFileLargeIcon(const sc_char*) { return nullptr; }
}
