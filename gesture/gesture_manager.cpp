// The gesture manager: three template lists over one set of Gesture objects, and the matcher.
#include "gesture/gesture_manager.h"

#include <mutex>

#include "common/console.h"
#include "gesture/template_file.h"

namespace sc {
namespace {

inline constexpr std::uint64_t kSampleCount = 50;

} // namespace

bool isPermittedGestureName(std::u16string_view name) {
    if (name == kNoGestureFound) {
        trace::line(name, u" , the name is not permitted");
        return false;
    }
    if (name.find(u',') != std::u16string_view::npos) {
        trace::line(name, u" , the name is not permitted(has separateChar) ");
        return false;
    }
    // An empty name would be written as a line starting with ",", and a line feed would split the line:
    // either way the template would read back under another name.
    return !name.empty() && name.find(u'\n') == std::u16string_view::npos;
}

GestureManager::GestureManager(std::u16string_view defaultGestureFile, std::u16string_view userFolder)
    : userGestureFile(std::u16string(userFolder) + u"\\MyGesture.configure") {
    try {
        loadGestureFile(defaultGestureFile, defaultGestures);
        loadGestureFile(userGestureFile, userGestures);
        // A multimap inserts after equal keys, so a name's user templates follow its defaults.
        for (const auto& entry : defaultGestures)
            allGestures.insert(entry);
        for (const auto& entry : userGestures)
            allGestures.insert(entry);
        matcher = std::make_unique<PointPatternMatcher>(allGestures, kSampleCount);
    } catch (...) {
        releaseAll();
        throw;
    }
}

GestureManager::~GestureManager() {
    releaseAll();
}

void GestureManager::releaseAll() noexcept {
    matcher.reset();
    // allGestures may still be partly built, so free through the two lists that together hold every one.
    deleteGestures(defaultGestures);
    deleteGestures(userGestures);
    allGestures.clear();
}

void GestureManager::recognize(const PointList& points, std::u16string& result) const {
    std::shared_lock lock(mutex_);
    matcher->recognize(points, result);
}

std::vector<std::u16string> GestureManager::getGestureNames() const {
    std::shared_lock lock(mutex_);
    return {matcher->names().begin(), matcher->names().end()};
}

bool GestureManager::getGestureTrack(std::u16string_view name, PointList& points) const {
    std::shared_lock lock(mutex_);
    const auto it = allGestures.lower_bound(name);
    if (it == allGestures.end() || it->first != name)
        return false;
    points = it->second->points;
    return true;
}

bool GestureManager::checkNameExist(std::u16string_view name) const {
    if (name == kNoGestureFound)
        return true;
    std::shared_lock lock(mutex_);
    return matcher->names().find(name) != matcher->names().end();
}

bool GestureManager::addGesture(std::u16string_view name, const PointList& points) {
    if (!isPermittedGestureName(name))
        return false;
    auto gesture = std::make_unique<Gesture>(Gesture{std::u16string(name), points});
    std::unique_lock lock(mutex_);
    const auto userEntry = userGestures.emplace(gesture->name, gesture.get());
    try {
        const auto allEntry = allGestures.emplace(gesture->name, gesture.get());
        try {
            matcher->templateAdded(*gesture);
            matcher->updateNames(gesture->name);
        } catch (...) {
            matcher->templateRemoved(*gesture);
            allGestures.erase(allEntry);
            throw;
        }
    } catch (...) {
        userGestures.erase(userEntry);
        throw;
    }
    Gesture* added = gesture.release();
    return saveUserGesture(userGestureFile, userGestures, added);
}

bool GestureManager::removeGesture(std::u16string_view name) {
    std::unique_lock lock(mutex_);
    const auto userEntry = userGestures.lower_bound(name);
    if (userEntry == userGestures.end() || userEntry->first != name)
        return false;
    Gesture* removed = userEntry->second;
    userGestures.erase(userEntry);
    auto [first, last] = allGestures.equal_range(name);
    for (auto it = first; it != last; ++it) {
        if (it->second == removed) {
            allGestures.erase(it);
            break;
        }
    }
    matcher->templateRemoved(*removed);
    delete removed;
    if (allGestures.find(name) == allGestures.end())
        matcher->updateNames(name, true);
    return saveUserGesture(userGestureFile, userGestures, nullptr);
}

} // namespace sc
