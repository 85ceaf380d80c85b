// Exports that carry the whole configuration in one settings file.
#include <string>

#include "action/action_manager.h"
#include "exports/boundary.h"
#include "exports/instances.h"
#include "gesture/gesture_manager.h"
#include "exports/settings_file.h"

namespace sc {
namespace {

// The user folder the gesture manager was opened on: its user file's folder.
std::u16string gestureFolderOf(const GestureManager& manager) {
    const std::u16string& file = manager.userFile();
    return file.substr(0, file.rfind(u'\\'));
}

// Runs f(gesture folder, action folder) while both managers are open; 0 otherwise.
template <class F> int32_t withFolders(F&& f) {
    return gestureManager.with<int32_t>(0, [&](GestureManager& gm) {
        return actionManager.with<int32_t>(
            0, [&](ActionManager& am) { return f(gestureFolderOf(gm), am.folder()); });
    });
}

} // namespace
} // namespace sc

extern "C" {

int32_t STROKECAST_CALL StrokecastExportSettings(const sc_char* path) {
    if (path == nullptr)
        return 0;
    return sc::guarded<int32_t>(0, [&] {
        return sc::withFolders([&](const std::u16string& gestures, const std::u16string& actions) {
            return sc::settings_file::exportTo(sc::text(path), gestures, actions) ? 1 : 0;
        });
    });
}

int32_t STROKECAST_CALL StrokecastImportSettings(const sc_char* path) {
    if (path == nullptr)
        return 0;
    return sc::guarded<int32_t>(0, [&] {
        return sc::withFolders([&](const std::u16string& gestures, const std::u16string& actions) {
            return sc::settings_file::importFrom(sc::text(path), gestures, actions) ? 1 : 0;
        });
    });
}
}
