// Exports that carry the whole configuration in one settings file.
#include <string>

#include "action/action_manager.h"
#include "exports/boundary.h"
#include "exports/instances.h"
#include "exports/settings_file.h"
#include "gesture/gesture_manager.h"

namespace sc {
namespace {

// The user folder the gesture manager was opened on: its user file's folder.
std::u16string gestureFolderOf(const GestureManager& manager) {
    const std::u16string& file = manager.userFile();
    return file.substr(0, file.rfind(u'\\'));
}

// Runs f(path, gesture folder, action folder) under the guard while both managers are open; 0 for a null
// path, while either is closed, or when anything throws.
template <class F> int32_t withFolders(const sc_char* path, F&& f) noexcept {
    if (path == nullptr)
        return 0;
    return guardedWith(gestureManager, 0, [&](GestureManager& gm) {
        return actionManager.with<int32_t>(
            0, [&](ActionManager& am) { return f(text(path), gestureFolderOf(gm), am.folder()) ? 1 : 0; });
    });
}

} // namespace
} // namespace sc

extern "C" {

int32_t STROKECAST_CALL StrokecastExportSettings(const sc_char* path) {
    return sc::withFolders(path, sc::settings_file::exportTo);
}

int32_t STROKECAST_CALL StrokecastImportSettings(const sc_char* path) {
    return sc::withFolders(path, sc::settings_file::importFrom);
}
}
