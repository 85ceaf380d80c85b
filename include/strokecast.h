/* strokecast.h: the C interface of the touch-gesture launch engine, for host programs in C and C++.
 *
 * Strings are zero-terminated UTF-16: wchar_t on Windows, char16_t elsewhere (sc_char); write literals
 * with STROKECAST_TEXT("..."). Every export, its contract and its function-pointer type
 * (StrokecastFn_<name>, for hosts that look functions up with GetProcAddress or dlsym) come from the list
 * in strokecast_exports.h, which also states the rules all exports share: buffers are filled all or
 * nothing, flags are on only when exactly 1, null pointers get the neutral answer, any thread may call.
 *
 * A host that links the import library includes this header as it is; the declarations then carry
 * __declspec(dllimport) on Windows. Define STROKECAST_STATIC to declare them without it. */
#ifndef STROKECAST_H
#define STROKECAST_H

#include <stdint.h>

/* The version of this header. StrokecastVersion() gives the loaded library's, as STROKECAST_VERSION_NUMBER
 * does for the header; CMake refuses to configure when these disagree with the project's version. */
#define STROKECAST_VERSION_MAJOR 1
#define STROKECAST_VERSION_MINOR 0
#define STROKECAST_VERSION_PATCH 0
#define STROKECAST_VERSION_STRING "1.0.0"
#define STROKECAST_VERSION_NUMBER                                                                            \
    (((uint32_t)STROKECAST_VERSION_MAJOR << 16) | ((uint32_t)STROKECAST_VERSION_MINOR << 8) |                \
     (uint32_t)STROKECAST_VERSION_PATCH)

#ifdef _WIN32
#include <wchar.h>
typedef wchar_t sc_char;
#define STROKECAST_CALL __stdcall
#define STROKECAST_TEXT_UNITS(s) L##s
#else
#include <uchar.h>
typedef char16_t sc_char;
#define STROKECAST_CALL
#define STROKECAST_TEXT_UNITS(s) u##s
#endif
/* A UTF-16 string literal of sc_char units, in C11 and C++11 alike: STROKECAST_TEXT("CTRL_C"). */
#define STROKECAST_TEXT(s) STROKECAST_TEXT_UNITS(s)

#if defined(_WIN32)
/* The library itself exports through its .def file; hosts import. */
#if defined(STROKECAST_BUILDING) || defined(STROKECAST_STATIC)
#define STROKECAST_API
#else
#define STROKECAST_API __declspec(dllimport)
#endif
#elif defined(STROKECAST_BUILDING)
#define STROKECAST_API __attribute__((visibility("default")))
#else
#define STROKECAST_API
#endif

/* A stroke is named after a gesture only when that gesture's score is above this (scores are percent). */
#define STROKECAST_ACCEPT_SCORE 75.0

/* What StrokecastExecuteActionEx and the stroke sink report about a gesture's action. */
enum {
    STROKECAST_ACTION_FAILED = 0, /* nothing open, bad argument, or see StrokecastLastError */
    STROKECAST_ACTION_RAN = 1,
    STROKECAST_ACTION_ALL_OFF = 2,      /* the "GLOBAL" switch suppresses every action */
    STROKECAST_ACTION_SWITCHED_OFF = 3, /* the gesture's own switch is off or missing */
    STROKECAST_ACTION_NOT_BOUND = 4,
    STROKECAST_ACTION_UNKNOWN = 5,  /* bound to a name that is neither built in nor a stored custom action */
    STROKECAST_ACTION_REFUSED = 6,  /* the system refused: launch failed, input blocked, no radio ... */
    STROKECAST_ACTION_GUARDED = 7,  /* the stroke's score was below the action's guard (capture only) */
    STROKECAST_ACTION_RECORDING = 8 /* capture is in record mode: nothing runs */
};

/* Receives one engine console line (StrokecastSetLogSink), on whichever thread writes it. */
typedef void(STROKECAST_CALL* StrokecastLogSink)(const sc_char* line, void* context);
/* Receives one finished stroke (StrokecastSetStrokeSink), on the capture thread. */
typedef void(STROKECAST_CALL* StrokecastStrokeSink)(const uint16_t* points, const sc_char* name, double score,
                                                    int32_t actionStatus, void* context);

#include "strokecast_exports.h"

#ifdef __cplusplus
extern "C" {
#endif

#define STROKECAST_DECLARE(result, name, parameters) STROKECAST_API result STROKECAST_CALL name parameters;
STROKECAST_EXPORT_LIST(STROKECAST_DECLARE)
#undef STROKECAST_DECLARE

#define STROKECAST_POINTER_TYPE(result, name, parameters)                                                    \
    typedef result(STROKECAST_CALL* StrokecastFn_##name) parameters;
STROKECAST_EXPORT_LIST(STROKECAST_POINTER_TYPE)
#undef STROKECAST_POINTER_TYPE

#ifdef __cplusplus
}
#endif

#endif /* STROKECAST_H */
