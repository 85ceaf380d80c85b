// Helpers shared by the gesture tests: scratch folders, raw file bytes, template lists, shapes.
#pragma once

#include <unistd.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "common/types.h"
#include "common/utf16.h"
#include "gesture/template_file.h"
#include "gesture/template_list.h"

namespace gesturetest {

// A fresh empty folder, removed again at the end of the test.
class TempFolder {
  public:
    explicit TempFolder(const std::string& tag) {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("sc_" + tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    std::u16string u16() const { return sc::utf16::fromUtf8(path_.string()); }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }
    std::u16string u16File(const std::string& name) const { return sc::utf16::fromUtf8(file(name).string()); }

  private:
    std::filesystem::path path_;
};

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

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
