// Gesture-to-action bindings, per-gesture switches, and running a gesture's action.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/types.h"
#include "files/shared_folder.h"

namespace sc {

class CustomActionStore;

inline constexpr std::u16string_view kGlobalSwitch = u"GLOBAL";
inline constexpr std::u16string_view kNullActionFound = u"__NULLACTION_FOUND__";
inline constexpr std::u16string_view kRemoveAction = u"NULL";
// A run's status, and what the plain run has always answered for it: a refused built-in action
// still counts as run there, since its system call's result was never looked at.
struct ActionOutcome {
    ActionStatus status = ActionStatus::Failed;
    bool reported = false;
};

inline constexpr std::u16string_view kActionMutexName = u"ed486497-d970-4a4e-87eb-93d9ed274914";

// Holds the binding table (gesture -> action) and the switch table (gesture -> on/off, plus the
// global entry "GLOBAL", which suppresses every action when 1), mirrors them in
// folder + "\gestureToAction.configure_v2" and folder + "\action.configure_v2", and owns the custom
// action store of the same folder.
//
// Several processes may share the folder. Every change takes the named system mutex, first brings the
// tables up to date when another process changed the files since this one read them, and only then
// writes; every lookup first checks the folder's generation counter (one shared memory read) and
// reloads when it moved. A call that reports failure has changed nothing, in memory or on disk.
// Within the process a lock of this object guards the tables; execution runs the action after
// releasing it, so the capture thread and host threads may use one manager at once.
class ActionManager {
  public:
    // Loads (converting old 8-bit files once, creating missing files) the folder's configuration.
    explicit ActionManager(std::u16string_view folder);
    ~ActionManager();

    // Runs the action bound to the gesture when the global switch is off and the gesture's own is on:
    // first as a custom action, then as a built-in one. true when an action ran and reported success.
    bool executeActionOfGesture(std::u16string_view gesture);
    // The same run, telling why nothing ran. With a stroke's score, an action guarded above that
    // score does not run (Guarded); without one, guards do not apply.
    ActionOutcome runActionOfGesture(std::u16string_view gesture, std::optional<double> strokeScore = {});

    // The built-in action names, then the custom action keys.
    std::vector<std::u16string> listActions();
    // Sets the lowest stroke score at which the action runs from a captured stroke; 0 removes it.
    // false for a negative or NaN score. Kept in memory only, for this manager's life.
    bool setActionGuard(std::u16string_view action, double minScore);

    // The bound action, or "__NULLACTION_FOUND__".
    std::u16string getActionOfGesture(std::u16string_view gesture);
    // The gesture's switch; false when it has none. "GLOBAL" gives the global flag.
    bool getGestureSwitch(std::u16string_view gesture);

    // Switches a gesture (or "GLOBAL"): rewrites the switch file for a known entry, appends one for a
    // new one. false when the mutex was not taken, the name cannot be stored, or the write failed.
    bool setGestureSwitch(std::u16string_view gesture, bool on);
    // Binds a gesture; "NULL" removes it from both tables. A new gesture gains a switch that is on.
    // false when the mutex was not taken, a name cannot be stored, or a write failed.
    bool setGestureToAction(std::u16string_view gesture, std::u16string_view action);
    // Drops the gesture's binding and switch (never the global switch) and rewrites both files; false
    // when the mutex was not taken or a rewrite failed.
    bool removeGestureFromAllMaps(std::u16string_view gesture);

    // Stores a custom action; false when the store refused or failed.
    bool addCustomAction(std::u16string_view key, std::u16string_view value);
    // Deletes a custom action that no gesture is bound to; false while a gesture is still bound to
    // it, or when the store's rewrite failed.
    bool removeCustomAction(std::u16string_view key);

    // The configuration folder the manager was opened on.
    const std::u16string& folder() const { return folder_; }

  private:
    using Bindings = std::map<std::u16string, std::u16string, std::less<>>;
    using Switches = std::map<std::u16string, std::uint8_t, std::less<>>;

    void catchUp();
    void reloadIfChanged();
    template <class Change> bool changeFiles(Change&& change);
    bool convertCfgFile(const std::u16string& path);
    bool loadSwitches(bool createMissing);
    bool loadBindings(bool createMissing);
    bool writeSwitches(const Switches& switches);
    bool writeBindings(const Bindings& bindings);
    bool removeLocked(std::u16string_view gesture);
    void releaseUnusedCustomAction(const std::u16string& action);
    bool isBound(std::u16string_view action) const;

    SharedFolder shared_;
    std::u16string switchFilePath_;
    std::u16string bindingFilePath_;
    std::u16string folder_;
    Bindings bindings_;
    Switches switches_;
    std::unique_ptr<CustomActionStore> store_;
    std::map<std::u16string, double, std::less<>> guards_; // under tables_
    std::mutex tables_; // guards both tables; taken after the named mutex, before the store's
};

} // namespace sc
