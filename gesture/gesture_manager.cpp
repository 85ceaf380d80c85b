// The gesture manager: one list that owns every template, and the matcher over it.
#include "gesture/gesture_manager.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

#include "common/console.h"
#include "files/textfile.h"
#include "gesture/template_file.h"
#include "platform/file.h"

namespace sc {
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
    loadGestureFile(defaultGestureFile, templates_, TemplateOrigin::defaults);
    {
        MutexHold hold(shared_.mutex());
        // Every writer holds the mutex from its temporary's creation to its move, so a temporary
        // found now belongs to a writer that died.
        if (hold)
            platform::removeStaleTemporaries(userGestureFile_);
        shared_.markRead();
        // Read after the defaults: a multimap inserts after equal keys.
        loadGestureFile(userGestureFile_, templates_, TemplateOrigin::user);
    }
    matcher_ = std::make_unique<PointPatternMatcher>(templates_, kSampleCount);
}

namespace {

// Moves the user's templates out of `list` into a list of their own; their nodes, and so their addresses,
// stay the same.
GestureList takeUserTemplates(GestureList& list) {
    GestureList taken;
    for (auto it = list.begin(); it != list.end();) {
        const auto next = std::next(it);
        if (it->second.origin == TemplateOrigin::user)
            taken.insert(list.extract(it));
        it = next;
    }
    return taken;
}

} // namespace

void GestureManager::catchUp() {
    shared_.catchUp(mutex_, [this] { reloadIfChanged(); });
}

void GestureManager::reloadIfChanged() {
    shared_.reloadIfChanged([this] {
        GestureList fresh;
        readGestureFile(userGestureFile_, fresh, TemplateOrigin::user);
        // The old user templates leave the list but stay alive until the matcher has let go of them.
        GestureList old = takeUserTemplates(templates_);
        templates_.merge(fresh);
        try {
            matcher_->updateNames();
        } catch (...) {
            takeUserTemplates(templates_);
            templates_.merge(old);
            throw;
        }
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
    GestureList withAdded;
    const auto [first, last] = templates_.equal_range(name);
    for (auto it = first; it != last; ++it)
        withAdded.emplace(it->first, it->second);
    withAdded.emplace(std::u16string(name), Template{PackedPoints(points), TemplateOrigin::user});
    const PointPatternMatcher asName(withAdded, matcher_->sampleCount());
    PointList track;
    for (const MatchResult& other : strokeScores) {
        if (other.name == name)
            continue;
        double back = std::numeric_limits<double>::quiet_NaN();
        const auto head = templates_.lower_bound(other.name);
        if (head != templates_.end() && head->first == other.name) {
            head->second.points.unpack(track);
            std::vector<MatchResult> trackScore;
            asName.matchAll(track, trackScore);
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
    const auto it = templates_.lower_bound(name);
    if (it == templates_.end() || it->first != name)
        return false;
    it->second.points.unpack(points);
    return true;
}

bool GestureManager::checkNameExist(std::u16string_view name) {
    if (name == kNoGestureFound)
        return true;
    catchUp();
    std::shared_lock lock(mutex_);
    return matcher_->names().find(name) != matcher_->names().end();
}

GestureList::iterator GestureManager::firstUserTemplate(std::u16string_view name) {
    auto [it, last] = templates_.equal_range(name);
    while (it != last && it->second.origin != TemplateOrigin::user)
        ++it;
    return it;
}

void GestureManager::eraseUserTemplate(GestureList::iterator entry) noexcept {
    const std::u16string name = entry->first;
    matcher_->templateRemoved(*entry);
    templates_.erase(entry);
    if (templates_.find(name) == templates_.end())
        matcher_->updateNames(name, true);
}

std::u16string GestureManager::userText(const GestureEntry* skip) const {
    std::u16string all;
    PointList points;
    for (const GestureEntry& entry : templates_) {
        if (entry.second.origin != TemplateOrigin::user || &entry == skip)
            continue;
        entry.second.points.unpack(points);
        all += gestureLine(entry.first, points);
    }
    return all;
}

bool GestureManager::addGesture(std::u16string_view name, const PointList& points) {
    if (!isPermittedGestureName(name))
        return false;
    Template added{PackedPoints(points), TemplateOrigin::user};
    MutexHold hold(shared_.mutex());
    if (!hold)
        return false;
    std::unique_lock lock(mutex_);
    reloadIfChanged();
    platform::AppendUndo undo;
    if (!appendUserGesture(userGestureFile_, name, points, undo))
        return false;
    try {
        // After the name's other templates, where the matcher puts it too.
        const auto entry = templates_.emplace(std::u16string(name), std::move(added));
        try {
            matcher_->templateAdded(*entry);
            matcher_->updateNames(name);
        } catch (...) {
            matcher_->templateRemoved(*entry);
            templates_.erase(entry);
            throw;
        }
    } catch (...) {
        platform::undoAppend(userGestureFile_, undo);
        throw;
    }
    shared_.publish();
    return true;
}

bool GestureManager::removeGesture(std::u16string_view name, Removal* removal) {
    MutexHold hold(shared_.mutex());
    if (!hold)
        return false;
    std::unique_lock lock(mutex_);
    reloadIfChanged();
    const auto entry = firstUserTemplate(name);
    if (entry == templates_.end() || entry->first != name)
        return false;
    if (removal != nullptr) {
        removal->file = textfile::snapshot(userGestureFile_);
        entry->second.points.unpack(removal->points);
    }
    if (!textfile::replace(userGestureFile_, userText(&*entry)))
        return false;
    eraseUserTemplate(entry);
    shared_.publish();
    return true;
}

bool GestureManager::restoreGesture(std::u16string_view name, const Removal& removal) {
    MutexHold hold(shared_.mutex());
    if (!hold)
        return false;
    std::unique_lock lock(mutex_);
    reloadIfChanged();
    // Just before the name's first user template: where removeGesture took it from.
    const auto entry = templates_.emplace_hint(firstUserTemplate(name), std::u16string(name),
                                               Template{PackedPoints(removal.points), TemplateOrigin::user});
    try {
        matcher_->updateNames();
    } catch (...) {
        templates_.erase(entry);
        throw;
    }
    // The file's own bytes go back, not this process's view of them: lines another program wrote
    // since this process read the file stay.
    if (!textfile::restore(userGestureFile_, removal.file)) {
        eraseUserTemplate(entry);
        return false;
    }
    shared_.publish();
    return true;
}

} // namespace sc
