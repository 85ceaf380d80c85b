// Gesture-to-action bindings, per-gesture switches, and running a gesture's action.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/named_mutex.h"

namespace sc {

class CustomActionStore;

inline constexpr std::u16string_view kGlobalSwitch = u"GLOBAL";
inline constexpr std::u16string_view kNullActionFound = u"__NULLACTION_FOUND__";
inline constexpr std::u16string_view kRemoveAction = u"NULL";
inline constexpr std::u16string_view kActionMutexName = u"ed486497-d970-4a4e-87eb-93d9ed274914";

// Holds the binding table (gesture -> action) and the switch table (gesture -> on/off, plus the
// global entry "GLOBAL", which suppresses every action when 1), mirrors them in
// folder + "\gestureToAction.configure_v2" and folder + "\action.configure_v2", and owns the custom
// action store of the same folder.
//
// Changes take the named system mutex, which orders the writes of every process sharing the folder,
// and then a lock of this object; lookups and execution take only that lock, and execution runs the
// action after releasing it. So the capture thread and host threads may use one manager at once.
class ActionManager {
  public:
    // Loads (converting old 8-bit files once, creating missing files) the folder's configuration.
    explicit ActionManager(std::u16string_view folder);
    ~ActionManager();
    ActionManager(const ActionManager&) = delete;
    ActionManager& operator=(const ActionManager&) = delete;

    // Runs the action bound to the gesture when the global switch is off and the gesture's own is on:
    // first as a custom action, then as a built-in one. true when an action ran and reported success.
    bool executeActionOfGesture(std::u16string_view gesture);

    // The bound action, or "__NULLACTION_FOUND__".
    std::u16string getActionOfGesture(std::u16string_view gesture) const;
    // The gesture's switch; false when it has none. "GLOBAL" gives the global flag.
    bool getGestureSwitch(std::u16string_view gesture) const;

    // Switches a gesture (or "GLOBAL"): rewrites the switch file for a known entry, appends one for a
    // new one. false when the mutex was not taken, the name cannot be stored, or the write failed
    // (the table keeps the change).
    bool setGestureSwitch(std::u16string_view gesture, bool on);
    // Binds a gesture; "NULL" removes it from both tables. A new gesture gains a switch that is on.
    // false when the mutex was not taken, a name cannot be stored, or a write failed (the table keeps
    // the change).
    bool setGestureToAction(std::u16string_view gesture, std::u16string_view action);
    // Drops the gesture from both tables and rewrites both files; false when the mutex was not taken or
    // a rewrite failed.
    bool removeGestureFromAllMaps(std::u16string_view gesture);

    // Stores a custom action; false without a store or when the store refused or failed.
    bool addCustomAction(std::u16string_view key, std::u16string_view value);
    // Deletes a custom action that no gesture is bound to; false without a store, while a gesture is
    // still bound to it, or when the store's rewrite failed.
    bool removeCustomAction(std::u16string_view key);

    const std::u16string& switchFilePath() const { return switchFilePath_; }
    const std::u16string& bindingFilePath() const { return bindingFilePath_; }

  private:
    bool checkUnicodeCfg() const;
    bool convertCfgFile(const std::u16string& path);
    void loadSwitchCfg();
    void loadNameToActionCfg();
    bool saveSwitchCfg();
    bool saveNameToActionCfg();
    bool appendSwitch(std::u16string_view gesture, bool on);
    bool appendNameToAction(std::u16string_view gesture, std::u16string_view action);
    void resetSwitches();
    bool removeLocked(std::u16string_view gesture);
    void releaseUnusedCustomAction(const std::u16string& action);
    bool isBound(std::u16string_view action) const;

    std::map<std::u16string, std::u16string, std::less<>> bindings_;
    std::map<std::u16string, std::uint8_t, std::less<>> switches_;
    std::unique_ptr<CustomActionStore> store_;
    platform::MutexId mutex_ = 0;
    std::u16string switchFilePath_;
    std::u16string bindingFilePath_;
    mutable std::mutex tables_; // guards both tables; taken after the named mutex, before the store's
};

} // namespace sc
