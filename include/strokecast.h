/* strokecast.h: the C interface of the touch-gesture launch engine, for host programs.
 *
 * Strings are zero-terminated UTF-16 (wchar_t on Windows, char16_t elsewhere). Functions that fill a
 * caller's buffer write all or nothing: they return the units written including the terminator, or 0
 * when the text does not fit. Flag arguments mean "on" only when they are exactly 1. A null string or
 * buffer pointer is refused with the function's neutral answer; no function ever throws. */
#ifndef STROKECAST_H
#define STROKECAST_H

#include <stdint.h>

#ifdef _WIN32
#include <wchar.h>
typedef wchar_t sc_char;
#define STROKECAST_CALL __stdcall
#else
#include <uchar.h>
typedef char16_t sc_char;
#define STROKECAST_CALL
#endif

#if defined(STROKECAST_BUILDING) && !defined(_WIN32)
#define STROKECAST_API __attribute__((visibility("default")))
#else
#define STROKECAST_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- gesture manager ---- */

/* Opens the process's gesture manager on a default template file and a user folder; no-op while open. */
STROKECAST_API void STROKECAST_CALL OpenGestureManager(const sc_char* defaultGestureFile, const sc_char* userFolder);
/* Closes the gesture manager; no-op while closed. */
STROKECAST_API void STROKECAST_CALL CloseGestureManager(void);
/* Names the stroke (x,y pairs of 16-bit values ended by a 0 at an x position); 0 if the name does not fit. */
STROKECAST_API int32_t STROKECAST_CALL recognizeGesture(const uint16_t* points, sc_char* nameBuffer,
                                                        uint32_t nameCapacity);
/* Writes every gesture name, separated by ","; 0 if the text does not fit or no manager is open. */
STROKECAST_API int32_t STROKECAST_CALL GetAllGestures(sc_char* buffer, uint32_t capacity);
/* Writes the first template of a name as x,y values and a closing 0; needs capacity >= 2n + 2. 1 or 0. */
STROKECAST_API int32_t STROKECAST_CALL GetGestureTrack(const sc_char* name, uint16_t* buffer, uint32_t capacity);
/* Adds a user template (points closer than 2.0 to the last are dropped; at least 2 needed). 1 or 0. */
STROKECAST_API int32_t STROKECAST_CALL AddOneGesture(const sc_char* name, const uint16_t* points);
/* 1 if the name is taken (or is the no-match name, or no manager is open), else 0. */
STROKECAST_API int32_t STROKECAST_CALL CheckNameExist(const sc_char* name);
/* Removes one user template of the name and the name's binding and switch. 1 or 0. */
STROKECAST_API int32_t STROKECAST_CALL RemoveOneGesture(const sc_char* name);

/* ---- action manager ---- */

/* Opens the process's action manager on a configuration folder (no trailing backslash); no-op while open. */
STROKECAST_API void STROKECAST_CALL OpenActionManager(const sc_char* folder);
/* Closes the action manager; no-op while closed. The name is spelled as hosts know it. */
STROKECAST_API void STROKECAST_CALL CloseActionNanager(void);
/* Switches a gesture (or "GLOBAL") on (value 1) or off (any other value). 1 when stored and written. */
STROKECAST_API int32_t STROKECAST_CALL SetGestureSwitch(const sc_char* gesture, int32_t value);
/* 1 when the gesture has a switch entry that is on, else 0. */
STROKECAST_API int32_t STROKECAST_CALL GetGestureSwitch(const sc_char* gesture);
/* Writes the gesture's action name ("__NULLACTION_FOUND__" if unbound); 0 if it does not fit. */
STROKECAST_API int32_t STROKECAST_CALL GetActionOfGesture(const sc_char* gesture, sc_char* buffer, uint32_t capacity);
/* Runs the action bound to a gesture name. 1 when an action ran and reported success. */
STROKECAST_API int32_t STROKECAST_CALL ExecuteAction(const sc_char* gesture);
/* Binds a gesture to an action; the action "NULL" removes the gesture's binding and switch. 1 or 0. */
STROKECAST_API int32_t STROKECAST_CALL SetGestureToAction(const sc_char* gesture, const sc_char* action);
/* Stores a custom action ("METRO:\..." -> app id, "DESKTOP:\..." -> program). 1 or 0. */
STROKECAST_API int32_t STROKECAST_CALL AddCustomAction(const sc_char* key, const sc_char* value);
/* Removes a custom action that no gesture is bound to. 1 or 0. */
STROKECAST_API int32_t STROKECAST_CALL RemoveOneCustomAction(const sc_char* key);

/* ---- modern apps and icons ---- */

/* Refreshes the app catalogue and writes its keys, one per line; 0 if it does not fit or no action manager. */
STROKECAST_API uint32_t STROKECAST_CALL GetMetroKeyArrary(sc_char* buffer, uint32_t capacity);
/* Writes one app's texts (app id, display name, logo path, tile colour), one per line; 0 if it does not fit. */
STROKECAST_API uint32_t STROKECAST_CALL GetMetroAppInfo(uint32_t key, sc_char* buffer, uint32_t capacity);
/* A 60 x 60 tile picture (HBITMAP) of a logo on a COLORREF background, owned by the caller; null on failure. */
STROKECAST_API void* STROKECAST_CALL GetMetroIcon(const sc_char* logoPath, uint32_t background);
/* The shell's extra-large icon (HICON) of a file, owned by the caller; null on failure. */
STROKECAST_API void* STROKECAST_CALL GetFileLargeIcon(const sc_char* path);

/* ---- touch capture ---- */

/* Starts the capture thread and its message-only window; waits at most about 500 ms. No-op while open. */
STROKECAST_API void STROKECAST_CALL OpenTouchCapturer(void);
/* Stops capture, dismissing any overlay; no-op while closed. */
STROKECAST_API void STROKECAST_CALL CloseTouchCapturer(void);
/* Shows the overlay whenever the charm bar opens (enable 1) or stops doing so (any other value). */
STROKECAST_API void STROKECAST_CALL SetCharmBarCptEnable(int32_t enable);
/* Registers Ctrl+Alt+key as the overlay hot key (enable 1) or unregisters it (any other value). */
STROKECAST_API void STROKECAST_CALL SetHotKey(int32_t enable, uint32_t key);

/* ---- utility ---- */

/* 32-bit FNV-1a hash of the text's UTF-16LE bytes, terminator excluded. */
STROKECAST_API uint32_t STROKECAST_CALL GetFnvHash(const sc_char* text);

#ifdef __cplusplus
}
#endif

#endif /* STROKECAST_H */
