// The gesture manager.
#include "gesture/gesture_manager.h"

namespace sc {

GestureManager::GestureManager(std::u16string_view, std::u16string_view) {}

void GestureManager::recognize(const PointList&, std::u16string& result) const { result = kNoGestureFound; }

}  // namespace sc
