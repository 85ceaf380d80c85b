// The action manager: tables, their files, the shared mutex, and running a gesture's action.
#include "action/action_manager.h"

#include "action/action_files.h"
#include "action/builtin_actions.h"
#include "apps/app_launch.h"
#include "apps/custom_action_store.h"
#include "common/console.h"
#include "common/textfile.h"
#include "common/types.h"
#include "platform/file.h"

#include <utility>

namespace sc {
namespace {

// Owns the named mutex for one operation and always gives it back. An abandoned wait counts as
// taken: the files are only ever replaced whole or appended by one line, so a peer that died
// holding the mutex cannot have left a half-written file, and refusing would lose this change.
class MutexHold {
  public:
    explicit MutexHold(platform::MutexId mutex) : mutex_(mutex) {
        if (mutex_ == 0)
            return;
        const platform::MutexWait result = platform::waitForMutex(mutex_);
        owned_ = result != platform::MutexWait::Failed;
        if (result == platform::MutexWait::Abandoned)
            trace::line(u"the action mutex was abandoned; taking it");
    }
    ~MutexHold() {
        if (owned_)
            platform::releaseMutex(mutex_);
    }
    MutexHold(const MutexHold&) = delete;
    MutexHold& operator=(const MutexHold&) = delete;
    explicit operator bool() const { return owned_; }

  private:
    platform::MutexId mutex_;
    bool owned_ = false;
};

} // namespace

ActionManager::ActionManager(std::u16string_view folder)
    : mutex_(platform::createNamedMutex(kActionMutexName)),
      switchFilePath_(std::u16string(folder) + u"\\action.configure_v2"),
      bindingFilePath_(std::u16string(folder) + u"\\gestureToAction.configure_v2") {
    resetSwitches();
    // Conversion and first-time creation write files, so they are ordered with other processes too;
    // without the mutex the reads still go ahead.
    MutexHold hold(mutex_);
    if (!checkUnicodeCfg()) {
        trace::line(u"the cfg file is not unicode version, need convert");
        convertCfgFile(switchFilePath_);
        convertCfgFile(bindingFilePath_);
    }
    store_ = std::make_unique<CustomActionStore>(folder);
    std::lock_guard lock(tables_);
    loadSwitchCfg();
    loadNameToActionCfg();
}

ActionManager::~ActionManager() {
    if (mutex_ != 0)
        platform::closeMutex(mutex_);
}

bool ActionManager::executeActionOfGesture(std::u16string_view gesture) {
    if (gesture.empty() || gesture == kNoGestureFound)
        return false;
    std::u16string action;
    {
        std::lock_guard lock(tables_);
        const auto global = switches_.find(kGlobalSwitch);
        if (global == switches_.end() || global->second == 1)
            return false;
        const auto own = switches_.find(gesture);
        if (own == switches_.end() || own->second == 0)
            return false;
        const auto binding = bindings_.find(gesture);
        if (binding == bindings_.end())
            return false;
        action = binding->second;
    }
    trace::line(gesture, u"'s action is : ", action);
    trace::line(u"will run it");
    if (store_ && executeCustomAction(*store_, action))
        return true;
    return runMediaAndPowerAction(action) || runShortcutAction(action);
}

std::u16string ActionManager::getActionOfGesture(std::u16string_view gesture) const {
    std::lock_guard lock(tables_);
    const auto it = bindings_.find(gesture);
    return it == bindings_.end() ? std::u16string(kNullActionFound) : it->second;
}

bool ActionManager::getGestureSwitch(std::u16string_view gesture) const {
    std::lock_guard lock(tables_);
    const auto it = switches_.find(gesture);
    return it != switches_.end() && it->second != 0;
}

bool ActionManager::setGestureSwitch(std::u16string_view gesture, bool on) {
    if (!action_file::storable(gesture))
        return false;
    MutexHold hold(mutex_);
    if (!hold)
        return false;
    std::lock_guard lock(tables_);
    const auto it = switches_.find(gesture);
    if (it == switches_.end())
        return appendSwitch(gesture, on);
    it->second = on ? 1 : 0;
    return saveSwitchCfg();
}

bool ActionManager::setGestureToAction(std::u16string_view gesture, std::u16string_view action) {
    if (!action_file::storable(gesture) || !action_file::storable(action))
        return false;
    MutexHold hold(mutex_);
    if (!hold)
        return false;
    std::lock_guard lock(tables_);
    if (action == kRemoveAction) {
        trace::line(u"will remove this gesture from all map");
        return removeLocked(gesture);
    }
    const auto it = bindings_.find(gesture);
    if (it == bindings_.end()) {
        if (!appendNameToAction(gesture, action))
            return false;
        // A switch the gesture already has stays as it is: a "1" record behind it would contradict it,
        // and for "GLOBAL", whose last record wins, would stop every gesture from the next start on.
        if (switches_.find(gesture) != switches_.end())
            return true;
        return appendSwitch(gesture, true);
    }
    if (it->second == action)
        return true;
    const std::u16string old = std::exchange(it->second, std::u16string(action));
    if (!saveNameToActionCfg())
        return false;
    releaseUnusedCustomAction(old);
    return true;
}

bool ActionManager::removeGestureFromAllMaps(std::u16string_view gesture) {
    MutexHold hold(mutex_);
    if (!hold)
        return false;
    std::lock_guard lock(tables_);
    return removeLocked(gesture);
}

bool ActionManager::removeLocked(std::u16string_view gesture) {
    std::u16string old;
    const auto it = bindings_.find(gesture);
    const bool wasBound = it != bindings_.end();
    if (wasBound) {
        old = it->second;
        bindings_.erase(it);
    }
    if (const auto s = switches_.find(gesture); s != switches_.end())
        switches_.erase(s);
    const bool switchesSaved = saveSwitchCfg();
    const bool bindingsSaved = saveNameToActionCfg();
    // The old custom action goes only once no binding on disk can name it any more.
    if (wasBound && bindingsSaved)
        releaseUnusedCustomAction(old);
    return switchesSaved && bindingsSaved;
}

bool ActionManager::addCustomAction(std::u16string_view key, std::u16string_view value) {
    return store_ && store_->add(key, value);
}

bool ActionManager::removeCustomAction(std::u16string_view key) {
    if (!store_)
        return false;
    std::lock_guard lock(tables_);
    if (isBound(key))
        return false;
    return store_->remove(key);
}

void ActionManager::releaseUnusedCustomAction(const std::u16string& action) {
    if (store_ && !isBound(action))
        store_->remove(action);
}

bool ActionManager::isBound(std::u16string_view action) const {
    for (const auto& [gesture, bound] : bindings_)
        if (bound == action)
            return true;
    return false;
}

void ActionManager::resetSwitches() {
    std::lock_guard lock(tables_);
    switches_.clear();
    switches_.emplace(kGlobalSwitch, 0);
}

bool ActionManager::checkUnicodeCfg() const {
    return platform::canRead(switchFilePath_) && platform::canRead(bindingFilePath_);
}

bool ActionManager::convertCfgFile(const std::u16string& path) {
    const std::u16string oldPath = path.substr(0, path.size() - 3); // without "_v2"
    std::string bytes;
    if (!platform::readFile(oldPath, bytes))
        return false;
    if (!textfile::replace(path, action_file::convertOld(bytes)))
        return false;
    platform::removeFile(oldPath);
    return true;
}

void ActionManager::loadSwitchCfg() {
    trace::line(switchFilePath_);
    std::u16string text;
    if (!textfile::read(switchFilePath_, text)) {
        saveSwitchCfg();
        return;
    }
    for (const action_file::Record& r : action_file::parse(text)) {
        trace::line(r.key, u",", r.value.value_or(u""));
        const bool on = !(r.value && *r.value == u"0");
        // The global entry is always applied, last record winning; for gestures the first one wins.
        if (r.key == kGlobalSwitch)
            switches_[r.key] = on ? 1 : 0;
        else
            switches_.emplace(r.key, on ? 1 : 0);
    }
}

void ActionManager::loadNameToActionCfg() {
    trace::line(bindingFilePath_);
    bindings_.clear();
    std::u16string text;
    if (!textfile::read(bindingFilePath_, text)) {
        trace::line(u"loadNameToActionCfg fail");
        saveNameToActionCfg();
        return;
    }
    for (const action_file::Record& r : action_file::parse(text)) {
        // A key without an action (a stray header line, say) binds nothing.
        if (r.value)
            bindings_.emplace(r.key, *r.value);
    }
}

bool ActionManager::saveSwitchCfg() {
    return textfile::replace(switchFilePath_, action_file::formatSwitches(switches_));
}

bool ActionManager::saveNameToActionCfg() {
    return textfile::replace(bindingFilePath_, action_file::formatBindings(bindings_));
}

bool ActionManager::appendSwitch(std::u16string_view gesture, bool on) {
    switches_.emplace(gesture, on ? 1 : 0);
    return textfile::append(switchFilePath_, action_file::record(gesture, on ? u"1" : u"0"));
}

bool ActionManager::appendNameToAction(std::u16string_view gesture, std::u16string_view action) {
    bindings_.emplace(gesture, action);
    return textfile::append(bindingFilePath_, action_file::record(gesture, action));
}

} // namespace sc
