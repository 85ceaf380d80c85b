// The gesture templates of the process and recognition of strokes against them.
#pragma once

#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/types.h"
#include "files/shared_folder.h"
#include "files/textfile.h"
#include "gesture/matcher.h"
#include "gesture/template_list.h"

namespace sc {

// Holds the default templates (read only) and the user's (kept in "<folder>\MyGesture.configure").
// Every operation is safe to call from several threads: reads share a lock, changes take it alone,
// and a change's file write happens under that lock so the file follows memory in order.
//
// Several processes may share the user folder: a change takes the folder's named mutex and first
// reloads the user file when another process changed it; every read first checks the folder's
// generation counter (one shared memory read) and reloads when it moved. A call that reports failure
// has changed nothing, in memory or on disk.
class GestureManager {
  public:
    // Reads both files; a file that cannot be read leaves its list empty and the manager usable.
    GestureManager(std::u16string_view defaultGestureFile, std::u16string_view userFolder);
    GestureManager(const GestureManager&) = delete;
    GestureManager& operator=(const GestureManager&) = delete;

    // Names the stroke, or kNoGestureFound; a stroke of fewer than two points is not compared.
    void recognize(const PointList& points, std::u16string& result);
    // Names the stroke as recognize does and gives the best score; NaN when no template was compared.
    void recognize(const PointList& points, std::u16string& result, double& bestScore);

    // Every name with the mean score recognition computes for it, best first; among equal scores in
    // name order, as recognition chooses; NaN scores last. Empty for fewer than two points.
    std::vector<MatchResult> rank(const PointList& points);

    // The other names a new template `points` of `name` would be confused with: those the stroke scores
    // above the acceptance threshold against, and those whose first template would score above it
    // against `name` with the new template among its own. Each with the higher of the two scores,
    // best first. Nothing is stored.
    std::vector<MatchResult> similarNames(std::u16string_view name, const PointList& points);

    // A copy of the distinct template names, in code-unit order.
    std::vector<std::u16string> getGestureNames();

    // Copies the points of the name's first template (defaults first); false if the name has none.
    bool getGestureTrack(std::u16string_view name, PointList& points);

    // Adds a user template and appends it to the user file. false, with nothing changed, for the
    // no-match name, the empty name, a name holding "," or a line feed, or when the file could not be
    // written.
    bool addGesture(std::u16string_view name, const PointList& points);

    // What a removal took: the template's points and the user file's bytes before it.
    struct Removal {
        PointList points;
        textfile::Snapshot file;
    };

    // Removes the name's earliest user template and rewrites the user file. false, with nothing
    // changed, when the name has no user template or the file could not be written. `removal` gets
    // what restoreGesture needs.
    bool removeGesture(std::u16string_view name, Removal* removal = nullptr);

    // Puts a template that removeGesture took back in front of the name's others and the user file's
    // bytes back as they were; for a caller whose own part of a removal failed.
    bool restoreGesture(std::u16string_view name, const Removal& removal);

    // true for a name with a template, and for the no-match name.
    bool checkNameExist(std::u16string_view name);

    const std::u16string& userFile() const { return userGestureFile_; }

  private:
    void catchUp();
    void reloadIfChanged();
    GestureList::iterator firstUserTemplate(std::u16string_view name);
    void eraseUserTemplate(GestureList::iterator entry) noexcept;
    std::u16string userText(const GestureEntry* skip) const;

    std::u16string userGestureFile_;
    SharedFolder shared_;
    // Every template, the defaults and the user's, held here alone; a name's defaults come before its
    // user templates. The matcher keeps the addresses of its entries.
    GestureList templates_;
    std::unique_ptr<PointPatternMatcher> matcher_;
    mutable std::shared_mutex mutex_;
};

// Whether a name may be given to a new template.
bool isPermittedGestureName(std::u16string_view name);

} // namespace sc
