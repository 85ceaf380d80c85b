// Telling the host about every captured stroke, and record mode, for the whole process.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/types.h"

namespace sc::stroke_report {

// Receives a stroke's kept points (x,y pairs ended by a 0), its name, best score and action status.
using Sink = void (*)(const std::uint16_t* points, const char16_t* name, double score, std::int32_t status,
                      void* context);

// Sets or, with null, removes the sink; returns once no call of the previous sink is running.
void setSink(Sink sink, void* context);
// Calls the sink, if any, on the calling thread.
void report(const PointList& points, std::u16string_view name, double score, ActionStatus status);

// Record mode: strokes reach the sink and nothing runs.
void setRecording(bool on);
bool recording();

} // namespace sc::stroke_report
