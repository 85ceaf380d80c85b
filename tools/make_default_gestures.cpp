// Writes the shipped default gesture file and the sample strokes of the demo.
// Regenerate with:
//   cmake --build build/native --target make_default_gestures &&
//   build/native/bin/make_default_gestures data/default_gestures.configure data/samples
#include <cstdio>
#include <fstream>
#include <string>

#include "common/utf16.h"
#include "files/textfile.h"
#include "gesture/template_file.h"
#include "tools/default_gestures.h"

namespace {

// The host's point text: "x,y x,y ...".
std::string strokeText(const sc::PointList& points) {
    std::string text;
    for (const sc::GesturePoint& p : points) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(static_cast<int>(p.x)) + "," + std::to_string(static_cast<int>(p.y));
    }
    return text + "\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUT.configure [SAMPLES_DIR]\n", argv[0]);
        return 2;
    }
    std::u16string text;
    const std::vector<sc::Gesture> all = defaults::gestures();
    for (const sc::Gesture& g : all)
        text += sc::gestureLine(g.name, g.points);
    if (!sc::textfile::replace(sc::utf16::fromUtf8(argv[1]), text)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    if (argc == 3) {
        std::uint32_t seed = 7;
        for (const sc::Gesture& g : all) {
            if (g.name != u"circle_clockwise" && g.name != u"Z" && g.name != u"check" &&
                g.name != u"line_left" && g.name != u"V" && g.name != u"triangle")
                continue;
            const std::string path = std::string(argv[2]) + "/" + sc::utf16::toUtf8(g.name) + ".stroke";
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << strokeText(defaults::handDrawn(g.points, seed++, 4.0f));
            if (!out) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
        }
    }
    return 0;
}
