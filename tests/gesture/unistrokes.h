// Reads the recorded human strokes (unistrokes.csv) for regression tests and benchmarks.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/types.h"

namespace gesturetest {

struct RecordedStroke {
    int subject = 0;
    std::string speed;
    std::string gesture;
    int repetition = 0;
    sc::PointList points;
};

// Every stroke of the file in file order; empty when the file is missing.
inline std::vector<RecordedStroke> readUnistrokes(const std::string& path) {
    std::vector<RecordedStroke> strokes;
    std::ifstream in(path);
    std::string row;
    if (!std::getline(in, row))
        return strokes; // header
    while (std::getline(in, row)) {
        std::string field[7];
        std::istringstream cells(row);
        for (std::string& f : field)
            std::getline(cells, f, ',');
        const int subject = std::atoi(field[0].c_str());
        const int repetition = std::atoi(field[3].c_str());
        if (field[4] == "0" || strokes.empty()) {
            strokes.push_back({subject, field[1], field[2], repetition, {}});
        }
        strokes.back().points.push_back({static_cast<float>(std::atof(field[5].c_str())),
                                         static_cast<float>(std::atof(field[6].c_str()))});
    }
    return strokes;
}

inline std::string unistrokesPath(const std::string& sharedData) {
    return sharedData + "/unistrokes.csv";
}

} // namespace gesturetest
