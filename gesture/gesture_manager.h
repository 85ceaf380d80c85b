// The gesture templates of the process and recognition of strokes against them.
#pragma once

#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/types.h"
#include "gesture/matcher.h"

namespace sc {

// Holds the default templates (read only) and the user's (kept in "<folder>\MyGesture.configure").
// Every operation is safe to call from several threads: reads share a lock, changes take it alone,
// and a change's file write happens under that lock so the file follows memory in order.
class GestureManager {
  public:
    // Reads both files; a file that cannot be read leaves its list empty and the manager usable.
    GestureManager(std::u16string_view defaultGestureFile, std::u16string_view userFolder);
    ~GestureManager();
    GestureManager(const GestureManager&) = delete;
    GestureManager& operator=(const GestureManager&) = delete;

    // Names the stroke, or kNoGestureFound; a stroke of fewer than two points is not compared.
    void recognize(const PointList& points, std::u16string& result) const;

    // A copy of the distinct template names, in code-unit order.
    std::vector<std::u16string> getGestureNames() const;

    // Copies the points of the name's first template (defaults first); false if the name has none.
    bool getGestureTrack(std::u16string_view name, PointList& points) const;

    // Adds a user template and appends it to the user file. false, with nothing changed, for the
    // no-match name, the empty name, or a name holding "," or a line feed; false after the change in
    // memory when the file could not be written.
    bool addGesture(std::u16string_view name, const PointList& points);

    // Removes the name's earliest user template and rewrites the user file. false, with nothing
    // changed, when the name has no user template; false after the change when the file write failed.
    bool removeGesture(std::u16string_view name);

    // true for a name with a template, and for the no-match name.
    bool checkNameExist(std::u16string_view name) const;

    const std::u16string& userFile() const { return userGestureFile; }

  private:
    void releaseAll() noexcept;

    std::u16string userGestureFile;
    std::unique_ptr<PointPatternMatcher> matcher;
    GestureList defaultGestures;
    GestureList userGestures;
    GestureList allGestures; // owns every Gesture; the other two lists share the pointers
    mutable std::shared_mutex mutex_;
};

// Whether a name may be given to a new template.
bool isPermittedGestureName(std::u16string_view name);

} // namespace sc
