// What one subject's templates make of the other subjects' strokes: the regression figures the generated
// corpus and the recorded human strokes are both held to.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "common/utf16.h"
#include "gesture/matcher.h"
#include "tests/gesture/gesture_test_support.h"
#include "tests/gesture/unistrokes.h"

namespace gesturetest {

struct CorpusTally {
    std::size_t templates = 0;
    int right = 0, wrong = 0, none = 0;
    int degenerateNamed = 0; // degenerate strokes that still got a name
    std::map<std::string, int> rightByGesture;
    double scoreSum = 0.0; // every score of every name, summed in order: the last bit of any of them shows
};

// Subject 2's first medium stroke of each gesture is the template; the other subjects' medium strokes,
// and their degenerate ones at any speed, are recognised in corpus order.
inline CorpusTally tallyRecognition(const std::vector<RecordedStroke>& strokes) {
    TemplateSet templates;
    for (const auto& s : strokes)
        if (s.subject == 2 && s.speed == "medium" && s.repetition == 1)
            templates.add(sc::utf16::fromUtf8(s.gesture), s.points);
    const sc::PointPatternMatcher matcher(templates.list, sc::kSampleCount);

    CorpusTally tally;
    tally.templates = templates.list.size();
    for (const auto& s : strokes) {
        const bool degenerate = s.gesture == "degenerate";
        if (s.subject == 2 || (s.speed != "medium" && !degenerate))
            continue;
        std::u16string name;
        matcher.recognize(s.points, name);
        std::vector<sc::MatchResult> results;
        matcher.matchAll(s.points, results);
        if (degenerate) { // their scores are 0/0 for every name
            tally.degenerateNamed += name != sc::kNoGestureFound;
            continue;
        }
        for (const sc::MatchResult& r : results)
            tally.scoreSum += r.probability;
        if (name == sc::kNoGestureFound) {
            ++tally.none;
        } else if (name == sc::utf16::fromUtf8(s.gesture)) {
            ++tally.right;
            ++tally.rightByGesture[s.gesture];
        } else {
            ++tally.wrong;
        }
    }
    return tally;
}

} // namespace gesturetest
