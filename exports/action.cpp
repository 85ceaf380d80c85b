// Exports of the action manager family.
#include "exports/boundary.h"
#include "action/action_manager.h"
#include "exports/instances.h"

namespace sc {
Instance<ActionManager> actionManager;
}

extern "C" {

void STROKECAST_CALL OpenActionManager(const sc_char*) {}
void STROKECAST_CALL CloseActionNanager(void) {}
int32_t STROKECAST_CALL SetGestureSwitch(const sc_char*, int32_t) { return 0; }
int32_t STROKECAST_CALL GetGestureSwitch(const sc_char*) { return 0; }
int32_t STROKECAST_CALL GetActionOfGesture(const sc_char*, sc_char*, uint32_t) { return 0; }
int32_t STROKECAST_CALL ExecuteAction(const sc_char*) { return 0; }
int32_t STROKECAST_CALL SetGestureToAction(const sc_char*, const sc_char*) { return 0; }
int32_t STROKECAST_CALL AddCustomAction(const sc_char*, const sc_char*) { return 0; }
int32_t STROKECAST_CALL RemoveOneCustomAction(const sc_char*) { return 0; }
}
