// Helpers shared by the gesture tests: template lists and shapes; scratch folders come with them.
#pragma once

#include <cmath>
#include <string>

#include "common/types.h"
#include "common/utf16.h"
#include "gesture/template_file.h"
#include "gesture/template_list.h"
#include "tests/support/temp_folder.h"

namespace gesturetest {

// A template list made in a test; each template goes in after the others of its name.
struct TemplateSet {
    sc::GestureList list;
    sc::GestureList::iterator add(std::u16string name, const sc::PointList& points) {
        return list.emplace(std::move(name),
                            sc::Template{sc::PackedPoints(points), sc::TemplateOrigin::defaults});
    }
};

// A straight stroke of `steps` segments from (x0, y0) to (x1, y1).
inline sc::PointList line(float x0, float y0, float x1, float y1, int steps = 20) {
    sc::PointList points;
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        points.push_back({x0 + (x1 - x0) * t, y0 + (y1 - y0) * t});
    }
    return points;
}

// Joins strokes end to start (the first point of each later part is dropped).
inline sc::PointList joined(std::initializer_list<sc::PointList> parts) {
    sc::PointList out;
    for (const sc::PointList& part : parts)
        for (std::size_t i = out.empty() ? 0 : 1; i < part.size(); ++i)
            out.push_back(part[i]);
    return out;
}

inline sc::PointList transformed(const sc::PointList& points, float scale, float dx, float dy) {
    sc::PointList out;
    for (const sc::GesturePoint& p : points)
        out.push_back({p.x * scale + dx, p.y * scale + dy});
    return out;
}

} // namespace gesturetest
