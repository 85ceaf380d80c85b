// The action manager: tables, their files, the shared folder, and running a gesture's action.
#include "action/action_manager.h"

#include "action/action_files.h"
#include "action/builtin_actions.h"
#include "apps/app_launch.h"
#include "apps/custom_action_store.h"
#include "common/console.h"
#include "common/types.h"
#include "files/textfile.h"
#include "platform/file.h"

#include <utility>

namespace sc {

ActionManager::ActionManager(std::u16string_view folder)
    : shared_(kActionMutexName, u"actions", folder),
      switchFilePath_(std::u16string(folder) + u"\\action.configure_v2"),
      bindingFilePath_(std::u16string(folder) + u"\\gestureToAction.configure_v2"), folder_(folder) {
    // Conversion and first-time creation write files, so they are ordered with other processes too;
    // without the mutex the reads still go ahead.
    MutexHold hold(shared_.mutex());
    const std::u16string storeFile = std::u16string(folder) + u"\\custom_action.configure";
    if (hold) {
        // Every writer of these files holds the mutex from its temporary's creation to its move, so
        // a temporary found now belongs to a writer that died.
        for (const std::u16string_view path :
             {std::u16string_view(switchFilePath_), std::u16string_view(bindingFilePath_),
              std::u16string_view(storeFile)})
            platform::removeStaleTemporaries(path);
    }
    bool wrote = false;
    if (!platform::canRead(switchFilePath_) || !platform::canRead(bindingFilePath_)) {
        trace::line(u"the cfg file is not unicode version, need convert");
        wrote |= convertCfgFile(switchFilePath_);
        wrote |= convertCfgFile(bindingFilePath_);
    }
    store_ = std::make_unique<CustomActionStore>(folder);
    std::lock_guard lock(tables_);
    shared_.markRead();
    wrote |= loadSwitches(true);
    wrote |= loadBindings(true);
    if (wrote && hold)
        shared_.publish();
}

ActionManager::~ActionManager() = default;

void ActionManager::catchUp() {
    shared_.catchUp(tables_, [this] { reloadIfChanged(); });
}

void ActionManager::reloadIfChanged() {
    shared_.reloadIfChanged([this] {
        loadSwitches(false);
        loadBindings(false);
        store_->load();
    });
}

bool ActionManager::executeActionOfGesture(std::u16string_view gesture) {
    return runActionOfGesture(gesture).reported;
}

ActionOutcome ActionManager::runActionOfGesture(std::u16string_view gesture,
                                                std::optional<double> strokeScore) {
    if (gesture.empty() || gesture == kNoGestureFound)
        return {};
    catchUp();
    std::u16string action;
    {
        std::lock_guard lock(tables_);
        const auto global = switches_.find(kGlobalSwitch);
        if (global == switches_.end() || global->second == 1)
            return {ActionStatus::AllOff, false};
        const auto own = switches_.find(gesture);
        if (own == switches_.end() || own->second == 0)
            return {ActionStatus::SwitchedOff, false};
        const auto binding = bindings_.find(gesture);
        if (binding == bindings_.end())
            return {ActionStatus::NotBound, false};
        action = binding->second;
        if (strokeScore) {
            const auto guard = guards_.find(action);
            // A NaN score fails every comparison, so it never passes a guard.
            if (guard != guards_.end() && !(*strokeScore >= guard->second))
                return {ActionStatus::Guarded, false};
        }
    }
    trace::line(gesture, u"'s action is : ", action);
    trace::line(u"will run it");
    const std::optional<CustomAction> custom = store_->find(action);
    // The shell's explorer takes a missing program without complaint: the path is looked at first.
    bool targetMissing = false;
    if (custom && executeCustomAction(*store_, action, &targetMissing))
        return {targetMissing ? ActionStatus::Refused : ActionStatus::Ran, true};
    switch (runBuiltinAction(action)) {
    case BuiltinRun::Ran:
        return {ActionStatus::Ran, true};
    case BuiltinRun::Refused:
        return {ActionStatus::Refused, true};
    case BuiltinRun::NotBuiltin:
        break;
    }
    if (custom && (custom->key.starts_with(kMetroPrefix) || custom->key.starts_with(kDesktopPrefix)))
        return {ActionStatus::Refused, false};
    return {ActionStatus::Unknown, false};
}

std::vector<std::u16string> ActionManager::listActions() {
    catchUp();
    std::vector<std::u16string> names;
    for (const std::u16string_view name : builtinActionNames())
        names.emplace_back(name);
    for (std::u16string& key : store_->keys())
        names.push_back(std::move(key));
    return names;
}

bool ActionManager::setActionGuard(std::u16string_view action, double minScore) {
    if (!(minScore >= 0.0))
        return false;
    std::lock_guard lock(tables_);
    if (minScore == 0.0) {
        if (const auto it = guards_.find(action); it != guards_.end())
            guards_.erase(it);
    } else {
        guards_[std::u16string(action)] = minScore;
    }
    return true;
}

std::u16string ActionManager::getActionOfGesture(std::u16string_view gesture) {
    catchUp();
    std::lock_guard lock(tables_);
    const auto it = bindings_.find(gesture);
    return it == bindings_.end() ? std::u16string(kNullActionFound) : it->second;
}

bool ActionManager::getGestureSwitch(std::u16string_view gesture) {
    catchUp();
    std::lock_guard lock(tables_);
    const auto it = switches_.find(gesture);
    return it != switches_.end() && it->second != 0;
}

// Every change holds the folder's mutex, then the tables' lock, and starts from the files as they are.
template <class Change> bool ActionManager::changeFiles(Change&& change) {
    MutexHold hold(shared_.mutex());
    if (!hold)
        return false;
    std::lock_guard lock(tables_);
    reloadIfChanged();
    return change();
}

bool ActionManager::setGestureSwitch(std::u16string_view gesture, bool on) {
    if (!action_file::storable(gesture))
        return false;
    return changeFiles([&] {
        const auto it = switches_.find(gesture);
        if (it == switches_.end()) {
            if (!textfile::append(switchFilePath_, action_file::record(gesture, on ? u"1" : u"0")))
                return false;
            switches_.emplace(gesture, on ? 1 : 0);
        } else {
            Switches next = switches_;
            next[std::u16string(gesture)] = on ? 1 : 0;
            if (!writeSwitches(next))
                return false;
            switches_ = std::move(next);
        }
        shared_.publish();
        return true;
    });
}

bool ActionManager::setGestureToAction(std::u16string_view gesture, std::u16string_view action) {
    if (!action_file::storable(gesture) || !action_file::storable(action))
        return false;
    return changeFiles([&] {
        if (action == kRemoveAction) {
            trace::line(u"will remove this gesture from all map");
            return removeLocked(gesture);
        }
        const auto it = bindings_.find(gesture);
        if (it == bindings_.end()) {
            platform::AppendUndo undo;
            if (!textfile::append(bindingFilePath_, action_file::record(gesture, action), undo))
                return false;
            // A switch the gesture already has stays as it is: a "1" record behind it would contradict it,
            // and for "GLOBAL", whose last record wins, would stop every gesture from the next start on.
            const bool needsSwitch = switches_.find(gesture) == switches_.end();
            if (needsSwitch && !textfile::append(switchFilePath_, action_file::record(gesture, u"1"))) {
                platform::undoAppend(bindingFilePath_, undo);
                return false;
            }
            bindings_.emplace(gesture, action);
            if (needsSwitch)
                switches_.emplace(gesture, 1);
            shared_.publish();
            return true;
        }
        if (it->second == action)
            return true;
        Bindings next = bindings_;
        const std::u16string old = std::exchange(next[std::u16string(gesture)], std::u16string(action));
        if (!writeBindings(next))
            return false;
        bindings_ = std::move(next);
        shared_.publish();
        releaseUnusedCustomAction(old);
        return true;
    });
}

bool ActionManager::removeGestureFromAllMaps(std::u16string_view gesture) {
    return changeFiles([&] { return removeLocked(gesture); });
}

bool ActionManager::removeLocked(std::u16string_view gesture) {
    Bindings bindings = bindings_;
    Switches switches = switches_;
    std::u16string old;
    const auto it = bindings.find(gesture);
    const bool wasBound = it != bindings.end();
    if (wasBound) {
        old = it->second;
        bindings.erase(it);
    }
    // The global switch is the user's "all off", not a gesture's: no gesture's removal may take it.
    if (gesture != kGlobalSwitch)
        if (const auto s = switches.find(gesture); s != switches.end())
            switches.erase(s);
    // The switch file's own bytes go back if the second rewrite fails, so the failed call changed
    // nothing, not even lines another program added since this process read the file; a switch file
    // the first rewrite created goes again.
    const textfile::Snapshot switchFile = textfile::snapshot(switchFilePath_);
    if (!writeSwitches(switches))
        return false;
    if (!writeBindings(bindings)) {
        textfile::restore(switchFilePath_, switchFile);
        return false;
    }
    bindings_ = std::move(bindings);
    switches_ = std::move(switches);
    shared_.publish();
    // The old custom action goes only once no binding on disk can name it any more.
    if (wasBound)
        releaseUnusedCustomAction(old);
    return true;
}

bool ActionManager::addCustomAction(std::u16string_view key, std::u16string_view value) {
    return changeFiles([&] {
        if (!store_->add(key, value))
            return false;
        shared_.publish();
        return true;
    });
}

bool ActionManager::removeCustomAction(std::u16string_view key) {
    return changeFiles([&] {
        if (isBound(key) || !store_->remove(key))
            return false;
        shared_.publish();
        return true;
    });
}

void ActionManager::releaseUnusedCustomAction(const std::u16string& action) {
    if (!isBound(action) && store_->remove(action))
        shared_.publish();
}

bool ActionManager::isBound(std::u16string_view action) const {
    for (const auto& [gesture, bound] : bindings_)
        if (bound == action)
            return true;
    return false;
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

bool ActionManager::loadSwitches(bool createMissing) {
    trace::line(switchFilePath_);
    Switches switches{{std::u16string(kGlobalSwitch), 0}};
    std::u16string text;
    if (!textfile::read(switchFilePath_, text)) {
        switches_ = std::move(switches);
        return createMissing && writeSwitches(switches_);
    }
    for (const action_file::Record& r : action_file::parse(text)) {
        trace::line(r.key, u",", r.value ? std::u16string_view(*r.value) : std::u16string_view());
        const bool on = !(r.value && *r.value == u"0");
        // The global entry is always applied, last record winning; for gestures the first one wins.
        if (r.key == kGlobalSwitch)
            switches[r.key] = on ? 1 : 0;
        else
            switches.emplace(r.key, on ? 1 : 0);
    }
    switches_ = std::move(switches);
    return false;
}

bool ActionManager::loadBindings(bool createMissing) {
    trace::line(bindingFilePath_);
    Bindings bindings;
    std::u16string text;
    if (!textfile::read(bindingFilePath_, text)) {
        trace::line(u"loadNameToActionCfg fail");
        bindings_.clear();
        return createMissing && writeBindings(bindings_);
    }
    for (const action_file::Record& r : action_file::parse(text)) {
        // A key without an action (a stray header line, say) binds nothing.
        if (r.value)
            bindings.emplace(r.key, *r.value);
    }
    bindings_ = std::move(bindings);
    return false;
}

bool ActionManager::writeSwitches(const Switches& switches) {
    return textfile::replace(switchFilePath_, action_file::formatSwitches(switches));
}

bool ActionManager::writeBindings(const Bindings& bindings) {
    return textfile::replace(bindingFilePath_, action_file::formatBindings(bindings));
}

} // namespace sc
