// Exports of the touch capturer and the hot key.
#include "exports/boundary.h"

extern "C" {

void STROKECAST_CALL OpenTouchCapturer(void) {}
void STROKECAST_CALL CloseTouchCapturer(void) {}
void STROKECAST_CALL SetCharmBarCptEnable(int32_t) {}
void STROKECAST_CALL SetHotKey(int32_t, uint32_t) {}
}
