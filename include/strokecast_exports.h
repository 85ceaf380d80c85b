/* strokecast_exports.h: the one list of the library's exports, included by strokecast.h.
 *
 * Each entry is X(result type, name, (parameters)) after its contract. The header's declarations and
 * function-pointer types, the .def file and the native version script (both made by CMake from this
 * file), the reference host's loader and the export tests all expand this list, so a new export is one
 * entry here plus its definition in exports/. New names start with "Strokecast"; the entries above
 * StrokecastVersion keep their names and signatures for ever, misspellings included.
 *
 * Shared rules: strings are zero-terminated UTF-16 (sc_char). A function that fills a caller's buffer
 * writes all or nothing and returns the units written including the terminator, 0 when the text does not
 * fit. Flag arguments mean "on" only when exactly 1. A null pointer is refused with the function's
 * neutral answer; nothing ever throws. Every function may be called from any thread: the open objects
 * sit behind a reader/writer lock, so calls run side by side and Open/Close wait for running calls. Every
 * change to a configuration file takes a named system mutex and is seen by other processes sharing the
 * folder on their next call; a change fails when that mutex cannot be taken, and a call that reports
 * failure has changed nothing, in memory or on disk. */
#ifndef STROKECAST_EXPORTS_H
#define STROKECAST_EXPORTS_H

/* One entry a line, its contract above it, aligned by hand. */
/* clang-format off */
#define STROKECAST_EXPORT_LIST(X)                                                                                 \
    /* ---- gesture manager ---- */                                                                               \
    /* Opens the process's gesture manager: the read-only templates of defaultGestureFile and the user's */       \
    /* own in userFolder\MyGesture.configure (created on the first added gesture). A file that cannot */          \
    /* be read leaves its list empty and the manager usable. No-op while a manager is open or when either */      \
    /* pointer is null. */                                                                                        \
    X(void, OpenGestureManager, (const sc_char* defaultGestureFile, const sc_char* userFolder))                   \
    /* Closes the gesture manager and frees its templates; waits for calls running on other threads. */           \
    /* No-op while closed. */                                                                                     \
    X(void, CloseGestureManager, (void))                                                                          \
    /* Names the stroke in points (x,y pairs of 16-bit values ended by a 0 where the next x would stand; */       \
    /* a y of 0 is an ordinary coordinate). Writes the best template name, or "_NO_GESTURE_FOUND_" when no name */\
    /* scores high enough or the stroke has fewer than two points, into nameBuffer (all or nothing, terminator */ \
    /* included). Returns the units written including the terminator; 0 when the name does not fit in */          \
    /* nameCapacity, a pointer is null or no gesture manager is open. */                                          \
    X(int32_t, recognizeGesture, (const uint16_t* points, sc_char* nameBuffer, uint32_t nameCapacity))            \
    /* Writes every distinct gesture name (defaults and the user's), in code-unit order, separated by "," (the */ \
    /* empty text when there is none; a name holding U+0000 is left out). Returns the units written including */  \
    /* the terminator; 0 when the list does not fit in capacity, buffer is null or no gesture manager is open. */ \
    X(int32_t, GetAllGestures, (sc_char* buffer, uint32_t capacity))                                              \
    /* Writes the first template of the name (defaults first) as x0,y0,x1,y1,...,0: n points need */              \
    /* capacity >= 2n + 2 values. Returns 1 when written; 0, with nothing written, when the name has no */        \
    /* template, the track does not fit, a pointer is null or no gesture manager is open. */                      \
    X(int32_t, GetGestureTrack, (const sc_char* name, uint16_t* buffer, uint32_t capacity))                       \
    /* Adds a user template of the name and appends it to the user file. A point no farther than 2.0 from the */  \
    /* last point kept is dropped; at least 2 must remain. Returns 1 when added and written; 0 for fewer than */  \
    /* 2 points, the empty name, a name holding "," or a line feed, "_NO_GESTURE_FOUND_", a null pointer, no */   \
    /* gesture manager open, or a failed file write (the call then changes nothing, in memory or on disk). */     \
    X(int32_t, AddOneGesture, (const sc_char* name, const uint16_t* points))                                      \
    /* Returns 1 when the name has a template, is "_NO_GESTURE_FOUND_", is null or no gesture manager is */       \
    /* open ("taken" is the safe answer: a host then picks another name); 0 when the name is free. */             \
    X(int32_t, CheckNameExist, (const sc_char* name))                                                             \
    /* Removes the earliest user template of the name, rewrites the user file and drops the name's binding and */ \
    /* switch (never the "GLOBAL" switch). Needs both managers open. Returns 1 when all of that succeeded; 0 */   \
    /* when the name has no user template (default templates are never removed), a manager is not open, the */    \
    /* name is null or a file write failed (the template is then put back: the call changes nothing). */          \
    X(int32_t, RemoveOneGesture, (const sc_char* name))                                                           \
    /* ---- action manager ---- */                                                                                \
    /* Opens the process's action manager on a configuration folder (no trailing backslash): the */               \
    /* bindings, the switches and the custom actions, converting old 8-bit files once and creating missing */     \
    /* ones. No-op while an action manager is open or when folder is null. */                                     \
    X(void, OpenActionManager, (const sc_char* folder))                                                           \
    /* Closes the action manager; waits for calls running on other threads. No-op while closed. The name */       \
    /* is spelled as hosts have always known it. */                                                               \
    X(void, CloseActionNanager, (void))                                                                           \
    /* Switches a gesture, or "GLOBAL", on (value exactly 1) or off (any other value) and writes the switch */    \
    /* file. "GLOBAL" on suppresses every action. Returns 1 when stored and written; 0 when gesture is null, */   \
    /* no action manager is open, the name cannot be stored (empty, or holding "," or a line feed) or the */      \
    /* write failed; a call that returns 0 changes nothing, in memory or on disk. */                              \
    X(int32_t, SetGestureSwitch, (const sc_char* gesture, int32_t value))                                         \
    /* Returns 1 when the gesture (or "GLOBAL") has a switch entry that is on; 0 when it is off, has no */        \
    /* entry, gesture is null or no action manager is open. */                                                    \
    X(int32_t, GetGestureSwitch, (const sc_char* gesture))                                                        \
    /* Writes the action bound to the gesture, or "__NULLACTION_FOUND__" when it has none. Returns the */         \
    /* units written including the terminator; 0 when the text does not fit in capacity, a pointer is null or */  \
    /* no action manager is open. */                                                                              \
    X(int32_t, GetActionOfGesture, (const sc_char* gesture, sc_char* buffer, uint32_t capacity))                  \
    /* Runs the action bound to the gesture when "GLOBAL" is off and the gesture's own switch is on: */           \
    /* first as a custom action of that name, then as a built-in one. Returns 1 when an action ran and */         \
    /* reported success; 0 when the gesture is unbound or switched off, "GLOBAL" is on, the action is */          \
    /* unknown or failed, gesture is null or no action manager is open. Runs on the caller's thread. */           \
    X(int32_t, ExecuteAction, (const sc_char* gesture))                                                           \
    /* Binds a gesture to an action name (a built-in name or a custom action's key); a newly bound gesture */     \
    /* gains a switch that is on unless it has one already. Rebinding drops the old action's custom action */     \
    /* once no gesture is bound to it. The action "NULL" removes the gesture's binding and switch (never the */   \
    /* "GLOBAL" switch). Returns 1 when stored and written; 0 when a pointer is null, no action manager is */     \
    /* open, a name cannot be stored (empty, or holding "," or a line feed) or a write failed; a call that */     \
    /* returns 0 changes nothing. */                                                                              \
    X(int32_t, SetGestureToAction, (const sc_char* gesture, const sc_char* action))                               \
    /* Stores a custom action: a key "METRO:\<name>" with an app id as value, or "DESKTOP:\<name>" with a */      \
    /* program path (only these two kinds run). A key already stored keeps its value and returns 1 without a */   \
    /* write. Returns 1 when stored and written; 0 when a pointer is null, no action manager is open, the key */  \
    /* is empty, a text holds "|" or a line feed, or the write failed (nothing is then stored). */                \
    X(int32_t, AddCustomAction, (const sc_char* key, const sc_char* value))                                       \
    /* Removes a custom action that no gesture is bound to. Returns 1 when the key is gone (also when it was */   \
    /* never stored); 0, with nothing changed, while a gesture is still bound to it, for a null key, with no */   \
    /* action manager open or when the write failed. */                                                           \
    X(int32_t, RemoveOneCustomAction, (const sc_char* key))                                                       \
    /* ---- modern apps and icons ---- */                                                                         \
    /* Refreshes the installed-app catalogue and writes its keys (decimal numbers), one per line. */              \
    /* Returns the units written including the terminator; 0 when the text does not fit in capacity, buffer */    \
    /* is null or no action manager is open. */                                                                   \
    X(uint32_t, GetMetroKeyArrary, (sc_char* buffer, uint32_t capacity))                                          \
    /* Writes one catalogue entry's texts (app id, display name, logo path, tile colour), one per line, */        \
    /* for a key of the last GetMetroKeyArrary. Returns the units written including the terminator; 0 for */      \
    /* an unknown key, text that does not fit, a null buffer or no action manager open. */                        \
    X(uint32_t, GetMetroAppInfo, (uint32_t key, sc_char* buffer, uint32_t capacity))                              \
    /* Draws a 60 x 60 tile picture (an HBITMAP on Windows) of a logo file on a COLORREF background. */           \
    /* The caller owns the picture and frees it with DeleteObject. Returns null on failure or a null path. */     \
    X(void*, GetMetroIcon, (const sc_char* logoPath, uint32_t background))                                        \
    /* The shell's extra-large icon (an HICON on Windows) of a file. The caller owns the icon and frees */        \
    /* it with DestroyIcon. Returns null on failure or a null path. */                                            \
    X(void*, GetFileLargeIcon, (const sc_char* path))                                                             \
    /* ---- touch capture ---- */                                                                                 \
    /* Starts the capture thread and its message-only window, waiting at most about 500 ms for it. */             \
    /* Strokes drawn on the overlay are recognised and their actions run on that thread, through whichever */     \
    /* managers are open at the time. No-op while capturing. */                                                   \
    X(void, OpenTouchCapturer, (void))                                                                            \
    /* Stops capture, dismissing any overlay and releasing the hot key. No-op while closed. */                    \
    X(void, CloseTouchCapturer, (void))                                                                           \
    /* Shows the overlay whenever the charm bar opens (enable exactly 1) or stops doing so (any other */          \
    /* value). No-op while the touch capturer is closed. */                                                       \
    X(void, SetCharmBarCptEnable, (int32_t enable))                                                               \
    /* Registers Ctrl+Alt+key (a virtual-key code) as the overlay's hot key (enable exactly 1) or */              \
    /* unregisters it (any other value). No-op while the touch capturer is closed. */                             \
    X(void, SetHotKey, (int32_t enable, uint32_t key))                                                            \
    /* ---- utility ---- */                                                                                       \
    /* 32-bit FNV-1a hash of the text's UTF-16LE bytes, terminator excluded; a null text hashes as the */         \
    /* empty text (2166136261). Needs no open object. */                                                          \
    X(uint32_t, GetFnvHash, (const sc_char* text))                                                                \
    /* The library's version as major << 16 | minor << 8 | patch, to compare with */                              \
    /* STROKECAST_VERSION_NUMBER before relying on newer exports. Needs no open object. */                        \
    X(uint32_t, StrokecastVersion, (void))                                                                    \
    /* ---- explanations ---- */                                                                                  \
    /* Ranks every gesture name for the stroke in points (the recognizeGesture format): up to maxNames */         \
    /* lines "name,score" joined by a line feed, best first, equal scores in the order recognition */             \
    /* chooses (name order). score is exactly the mean probability recognition computes for that name, */        \
    /* written with the fewest digits that read back as the same double ("nan" for NaN, ranked last); the */     \
    /* head is recognizeGesture's answer when its score is above STROKECAST_ACCEPT_SCORE. A stroke of fewer */    \
    /* than two points, or maxNames 0, gives the empty text. Returns the units written including the */           \
    /* terminator; 0 when the text does not fit, a pointer is null or no gesture manager is open. */              \
    X(int32_t, StrokecastRankGestures, (const uint16_t* points, uint32_t maxNames, sc_char* buffer, uint32_t capacity)) \
    /* Names the gestures other than name that a new template points of name would be confused with: */          \
    /* lines "name,score" for every gesture G the stroke scores above STROKECAST_ACCEPT_SCORE against, or */      \
    /* whose stored track (GetGestureTrack) would score above it against name once the new template is */        \
    /* added; score is the higher of the two; best first. The empty text means no conflict. Points are */         \
    /* thinned as AddOneGesture thins them; nothing is stored. Returns the units written including the */         \
    /* terminator; 0 when the text does not fit, a pointer is null or no gesture manager is open. */              \
    X(int32_t, StrokecastCheckSimilarity, (const sc_char* name, const uint16_t* points, sc_char* buffer, uint32_t capacity)) \
    /* Runs the gesture's action exactly as ExecuteAction does (which keeps its own 0/1) and returns what */      \
    /* happened as a STROKECAST_ACTION_* code; FAILED for a null or empty gesture, "_NO_GESTURE_FOUND_" or */      \
    /* no action manager open. REFUSED leaves the system's reason in StrokecastLastError. Guards do not */        \
    /* apply: they are for captured strokes. */                                                                   \
    X(int32_t, StrokecastExecuteActionEx, (const sc_char* gesture))                                               \
    /* Writes the built-in action names, then the stored custom action keys, joined by a line feed. */            \
    /* Returns the units written including the terminator; 0 when the text does not fit, buffer is null */        \
    /* or no action manager is open. */                                                                           \
    X(int32_t, StrokecastListActions, (sc_char* buffer, uint32_t capacity))                                       \
    /* Writes the most recent failure of an engine call on the calling thread as one line naming what */          \
    /* failed, the path and the system's own error code ("cannot write <path>: <reason> (error 112)"); */         \
    /* the empty text when none. A later successful call does not clear it, so read it right after a call */      \
    /* reported failure. Returns the units written including the terminator; 0 when it does not fit or */        \
    /* buffer is null. Needs no open object. */                                                                   \
    X(int32_t, StrokecastLastError, (sc_char* buffer, uint32_t capacity))                                         \
    /* Sends the engine's console lines to sink (called with the line and context on whichever thread */          \
    /* writes it, capture thread included) instead of standard output; null sends them back to standard */       \
    /* output. Returns once no call of the previous sink is running (a sink may clear itself). */                 \
    X(void, StrokecastSetLogSink, (StrokecastLogSink sink, void* context))                                        \
    /* Calls sink on the capture thread after every finished stroke with its kept points (the */                  \
    /* recognizeGesture format), the recognised name or "_NO_GESTURE_FOUND_", the best score (NaN when no */      \
    /* template was compared) and the STROKECAST_ACTION_* code of its action (FAILED when no gesture was */       \
    /* named). The pointers are valid during the call only. Null stops the calls: it returns once none is */     \
    /* running. Works whether or not the touch capturer is open. */                                              \
    X(void, StrokecastSetStrokeSink, (StrokecastStrokeSink sink, void* context))                                  \
    /* Chooses what captured strokes do: 0 runs their actions (the default), 1 records them (they only */         \
    /* reach the stroke sink, with STROKECAST_ACTION_RECORDING). Returns 1 when set; 0 for any other mode. */     \
    X(int32_t, StrokecastSetCaptureMode, (int32_t mode))                                                          \
    /* Sets a stricter bar for an action run from a captured stroke: it runs only when the stroke's score */      \
    /* is at least minScore (acceptance above STROKECAST_ACCEPT_SCORE is still needed), else the stroke */        \
    /* reports GUARDED. Meant for POWEROFF, REBOOT, LOGOFF and EMPTYRECYLEBIN. Kept for the life of the */         \
    /* action manager; minScore 0 removes the guard. Returns 1 when set; 0 for a null action, a negative */       \
    /* or NaN score, or no action manager open. */                                                                \
    X(int32_t, StrokecastSetActionGuard, (const sc_char* action, double minScore))                                \
    /* ---- settings file ---- */                                                                                 \
    /* Writes every user template, binding, switch ("GLOBAL" included) and custom action of the open */           \
    /* managers' folders to path as one settings file (UTF-16LE, replaced whole; see docs/files.md). Reads */     \
    /* the folders' files under their mutexes. Returns 1 when written; 0, with a StrokecastLastError line, */     \
    /* when path is null, a manager is not open, a mutex cannot be taken or the file cannot be written. */        \
    X(int32_t, StrokecastExportSettings, (const sc_char* path))                                                   \
    /* Replaces every user template, binding, switch and custom action by those of the settings file at */        \
    /* path (not added to them). The whole file is checked first; the files are then replaced under both */       \
    /* folders' mutexes, and when any write fails every file gets its old bytes back. Other processes */          \
    /* sharing the folders see the import on their next call. Returns 1 when imported; 0, with nothing */         \
    /* changed and a StrokecastLastError line (naming the bad line of a malformed file), when path is */          \
    /* null, a manager is not open, the file is unreadable or malformed, or a write failed. */                    \
    X(int32_t, StrokecastImportSettings, (const sc_char* path))                                                   \
    /* ---- hot key ---- */                                                                                       \
    /* Registers modifiers (Alt 1, Ctrl 2, Shift 4, Win 8, as RegisterHotKey takes them) with key (a */           \
    /* virtual-key code) as the overlay's hot key in place of the one before, or unregisters it for key 0, */    \
    /* and says whether that worked, which SetHotKey cannot. Returns 1 when registered (or unregistered); 0 */    \
    /* when the touch capturer is not open, modifiers holds other bits, or the system refused the key: the */    \
    /* hot key registered before then stays, and StrokecastLastError says why ("hot key Ctrl+Alt+K is */         \
    /* taken by another program (error 1409)"). Waits for the capture thread, at most about 5 s. */              \
    X(int32_t, StrokecastSetHotKeyEx, (uint32_t modifiers, uint32_t key))
/* clang-format on */

#endif /* STROKECAST_EXPORTS_H */
