// Exports of the gesture manager family.
#include "exports/boundary.h"
#include "exports/instances.h"
#include "gesture/gesture_manager.h"

namespace sc {
Instance<GestureManager> gestureManager;
}

extern "C" {

void STROKECAST_CALL OpenGestureManager(const sc_char*, const sc_char*) {}
void STROKECAST_CALL CloseGestureManager(void) {}
int32_t STROKECAST_CALL recognizeGesture(const uint16_t*, sc_char*, uint32_t) { return 0; }
int32_t STROKECAST_CALL GetAllGestures(sc_char*, uint32_t) { return 0; }
int32_t STROKECAST_CALL GetGestureTrack(const sc_char*, uint16_t*, uint32_t) { return 0; }
int32_t STROKECAST_CALL AddOneGesture(const sc_char*, const uint16_t*) { return 0; }
int32_t STROKECAST_CALL CheckNameExist(const sc_char*) { return 1; }
int32_t STROKECAST_CALL RemoveOneGesture(const sc_char*) { return 0; }
}
