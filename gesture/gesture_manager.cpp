// The gesture manager: three template lists over one set of Gesture objects, and the matcher.
#include "gesture/gesture_manager.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

#include "common/console.h"
#include "common/textfile.h"
#include "gesture/template_file.h"
#include "platform/file.h"

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
    : userGestureFile_(std::u16string(userFolder) + u"\\MyGesture.configure"),
      shared_(folderObjectName(u"gestures", userFolder), u"gestures", userFolder) {
    try {
        loadGestureFile(defaultGestureFile, defaultGestures_);
        {
            MutexHold hold(shared_.mutex());
            // Every writer holds the mutex from its temporary's creation to its move, so a temporary
            // found now belongs to a writer that died.
            if (hold)
                platform::removeStaleTemporaries(userGestureFile_);
            seen_ = shared_.generation();
            loadGestureFile(userGestureFile_, userGestures_);
        }
        fillAllGestures();
        matcher_ = std::make_unique<PointPatternMatcher>(allGestures_, kSampleCount);
    } catch (...) {
        releaseAll();
        throw;
    }
}

GestureManager::~GestureManager() {
    releaseAll();
}

void GestureManager::releaseAll() noexcept {
    matcher_.reset();
    // allGestures_ may still be partly built, so free through the two lists that together hold every one.
    deleteGestures(defaultGestures_);
    deleteGestures(userGestures_);
    allGestures_.clear();
}

void GestureManager::catchUp() {
    shared_.catchUp(seen_, [this] {
        std::unique_lock lock(mutex_);
        reloadIfChanged();
    });
}

void GestureManager::reloadIfChanged() {
    shared_.reloadIfChanged(seen_, [this] {
        GestureList fresh;
        std::string bytes;
        if (platform::readFile(userGestureFile_, bytes))
            parseGestureBytes(textfile::withoutByteOrderMark(bytes), fresh);
        deleteGestures(userGestures_);
        userGestures_.swap(fresh);
        fillAllGestures();
        matcher_->updateNames();
    });
}

void GestureManager::recognize(const PointList& points, std::u16string& result) {
    catchUp();
    std::shared_lock lock(mutex_);
    matcher_->recognize(points, result);
}

namespace {

// Best first; a stable sort keeps name order among equal scores, and NaN sorts below every number.
void bestFirst(std::vector<MatchResult>& results) {
    std::stable_sort(results.begin(), results.end(), [](const MatchResult& a, const MatchResult& b) {
        if (std::isnan(b.probability))
            return !std::isnan(a.probability);
        return a.probability > b.probability;
    });
}

} // namespace

void GestureManager::recognize(const PointList& points, std::u16string& result, double& bestScore) {
    const std::vector<MatchResult> ranked = rank(points);
    // chooseName walks in order and keeps the first strictly greater score: on the ranking that is its
    // head, the same name recognition picks from name order.
    result = points.size() < 2 ? std::u16string(kNoGestureFound) : std::u16string(chooseName(ranked));
    bestScore = ranked.empty() ? std::numeric_limits<double>::quiet_NaN() : ranked.front().probability;
}

std::vector<MatchResult> GestureManager::rank(const PointList& points) {
    catchUp();
    std::vector<MatchResult> results;
    if (points.size() < 2)
        return results;
    {
        std::shared_lock lock(mutex_);
        matcher_->matchAll(points, results);
    }
    bestFirst(results);
    return results;
}

std::vector<MatchResult> GestureManager::similarNames(std::u16string_view name, const PointList& points) {
    catchUp();
    std::vector<MatchResult> conflicts;
    if (points.size() < 2)
        return conflicts;
    std::shared_lock lock(mutex_);
    std::vector<MatchResult> strokeScores;
    matcher_->matchAll(points, strokeScores);
    // The name's templates as they would be once the new one is added, scored by a matcher of their own.
    Gesture added{std::u16string(name), points};
    GestureList withAdded;
    const auto [first, last] = allGestures_.equal_range(name);
    for (auto it = first; it != last; ++it)
        withAdded.emplace(it->first, it->second);
    withAdded.emplace(added.name, &added);
    const PointPatternMatcher asName(withAdded, matcher_->sampleCount());
    for (const MatchResult& other : strokeScores) {
        if (other.name == name)
            continue;
        double back = std::numeric_limits<double>::quiet_NaN();
        const auto track = allGestures_.lower_bound(other.name);
        if (track != allGestures_.end() && track->first == other.name) {
            std::vector<MatchResult> trackScore;
            asName.matchAll(track->second->points, trackScore);
            back = trackScore.front().probability;
        }
        if (!(other.probability > kAcceptThreshold) && !(back > kAcceptThreshold))
            continue;
        const double higher = std::isnan(back) || other.probability >= back ? other.probability : back;
        conflicts.emplace_back(other.name, higher, other.count);
    }
    bestFirst(conflicts);
    return conflicts;
}

std::vector<std::u16string> GestureManager::getGestureNames() {
    catchUp();
    std::shared_lock lock(mutex_);
    return {matcher_->names().begin(), matcher_->names().end()};
}

bool GestureManager::getGestureTrack(std::u16string_view name, PointList& points) {
    catchUp();
    std::shared_lock lock(mutex_);
    const auto it = allGestures_.lower_bound(name);
    if (it == allGestures_.end() || it->first != name)
        return false;
    points = it->second->points;
    return true;
}

bool GestureManager::checkNameExist(std::u16string_view name) {
    if (name == kNoGestureFound)
        return true;
    catchUp();
    std::shared_lock lock(mutex_);
    return matcher_->names().find(name) != matcher_->names().end();
}

void GestureManager::fillAllGestures() {
    // A multimap inserts after equal keys, so a name's user templates follow its defaults.
    allGestures_.clear();
    for (const auto& entry : defaultGestures_)
        allGestures_.insert(entry);
    for (const auto& entry : userGestures_)
        allGestures_.insert(entry);
}

void GestureManager::insertUserGesture(std::unique_ptr<Gesture> gesture) {
    Gesture* added = gesture.get();
    const auto userEntry = userGestures_.emplace(added->name, added);
    try {
        const auto allEntry = allGestures_.emplace(added->name, added);
        try {
            matcher_->templateAdded(*added);
            matcher_->updateNames(added->name);
        } catch (...) {
            matcher_->templateRemoved(*added);
            allGestures_.erase(allEntry);
            throw;
        }
    } catch (...) {
        userGestures_.erase(userEntry);
        throw;
    }
    gesture.release();
}

void GestureManager::eraseUserGesture(GestureList::iterator userEntry) noexcept {
    Gesture* removed = userEntry->second;
    const std::u16string name = removed->name;
    userGestures_.erase(userEntry);
    auto [first, last] = allGestures_.equal_range(name);
    for (auto it = first; it != last; ++it) {
        if (it->second == removed) {
            allGestures_.erase(it);
            break;
        }
    }
    matcher_->templateRemoved(*removed);
    delete removed;
    if (allGestures_.find(name) == allGestures_.end())
        matcher_->updateNames(name, true);
}

std::u16string GestureManager::userText(const Gesture* skip) const {
    std::u16string all;
    for (const auto& entry : userGestures_)
        if (entry.second != skip)
            all += gestureLine(*entry.second);
    return all;
}

bool GestureManager::addGesture(std::u16string_view name, const PointList& points) {
    if (!isPermittedGestureName(name))
        return false;
    auto gesture = std::make_unique<Gesture>(Gesture{std::u16string(name), points});
    MutexHold hold(shared_.mutex());
    if (!hold)
        return false;
    std::unique_lock lock(mutex_);
    reloadIfChanged();
    platform::AppendUndo undo;
    if (!appendUserGesture(userGestureFile_, *gesture, undo))
        return false;
    try {
        insertUserGesture(std::move(gesture));
    } catch (...) {
        platform::undoAppend(userGestureFile_, undo);
        throw;
    }
    seen_ = shared_.publish();
    return true;
}

bool GestureManager::removeGesture(std::u16string_view name, Removal* removal) {
    MutexHold hold(shared_.mutex());
    if (!hold)
        return false;
    std::unique_lock lock(mutex_);
    reloadIfChanged();
    const auto userEntry = userGestures_.lower_bound(name);
    if (userEntry == userGestures_.end() || userEntry->first != name)
        return false;
    if (removal != nullptr) {
        removal->hadFile = platform::readFile(userGestureFile_, removal->fileBytes);
        removal->points = userEntry->second->points;
    }
    if (!textfile::replace(userGestureFile_, userText(userEntry->second)))
        return false;
    eraseUserGesture(userEntry);
    seen_ = shared_.publish();
    return true;
}

bool GestureManager::restoreGesture(std::u16string_view name, const Removal& removal) {
    MutexHold hold(shared_.mutex());
    if (!hold)
        return false;
    std::unique_lock lock(mutex_);
    reloadIfChanged();
    auto gesture = std::make_unique<Gesture>(Gesture{std::u16string(name), removal.points});
    // Just before the name's first user template: where removeGesture took it from.
    const auto entry =
        userGestures_.emplace_hint(userGestures_.lower_bound(name), gesture->name, gesture.get());
    gesture.release();
    fillAllGestures();
    matcher_->updateNames();
    // The file's own bytes go back, not this process's view of them: lines another program wrote
    // since this process read the file stay.
    const bool restored = removal.hadFile ? platform::replaceFile(userGestureFile_, removal.fileBytes)
                                          : platform::removeFile(userGestureFile_);
    if (!restored) {
        eraseUserGesture(entry);
        return false;
    }
    seen_ = shared_.publish();
    return true;
}

} // namespace sc
