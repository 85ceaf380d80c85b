/* A minimal C11 host linked through the import library: opens the engine on a folder, adds a gesture,
 * recognises it, binds it to a custom action that never runs (the "GLOBAL" switch is on meanwhile),
 * reads the binding back, removes everything again and closes. Exit status 0 when every answer is the
 * expected one.
 *
 *   host FOLDER    FOLDER: an existing empty folder for the configuration files (ASCII path) */
#include <stdio.h>
#include <string.h>

#include "strokecast.h"

static int failures = 0;

static void expect(int ok, const char* what) {
    printf("%-40s %s\n", what, ok ? "ok" : "FAILED");
    if (!ok)
        ++failures;
}

/* sc_char and a literal compare unit by unit on both builds. */
static int same(const sc_char* a, const sc_char* b) {
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}

int main(int argc, char** argv) {
    sc_char folder[260];
    size_t n = 0;
    if (argc != 2 || strlen(argv[1]) >= sizeof folder / sizeof folder[0]) {
        fprintf(stderr, "usage: host FOLDER\n");
        return 2;
    }
    for (; argv[1][n]; ++n)
        folder[n] = (sc_char)(unsigned char)argv[1][n];
    folder[n] = 0;

    /* A "Z" stroke: x,y pairs, ended by a 0 where the next x would stand. */
    const uint16_t zigzag[] = {10, 10, 110, 10, 10, 110, 110, 110, 0};
    sc_char name[64];
    sc_char action[64];

    expect(StrokecastVersion() == STROKECAST_VERSION_NUMBER, "library version is the header's");
    /* No default template file here: an empty name leaves the default list empty. */
    OpenGestureManager(STROKECAST_TEXT(""), folder);
    OpenActionManager(folder);

    expect(CheckNameExist(STROKECAST_TEXT("zigzag")) == 0, "name is free");
    expect(AddOneGesture(STROKECAST_TEXT("zigzag"), zigzag) == 1, "gesture added");
    expect(recognizeGesture(zigzag, name, 64) == 7 && same(name, STROKECAST_TEXT("zigzag")),
           "stroke recognised");
    expect(recognizeGesture(zigzag, name, 6) == 0, "too small a buffer gets nothing");

    expect(AddCustomAction(STROKECAST_TEXT("DESKTOP:\\example"), STROKECAST_TEXT("C:\\example.exe")) == 1,
           "custom action stored");
    expect(SetGestureSwitch(STROKECAST_TEXT("GLOBAL"), 1) == 1, "GLOBAL on: no action runs");
    expect(SetGestureToAction(STROKECAST_TEXT("zigzag"), STROKECAST_TEXT("DESKTOP:\\example")) == 1, "bound");
    expect(GetActionOfGesture(STROKECAST_TEXT("zigzag"), action, 64) > 0 &&
               same(action, STROKECAST_TEXT("DESKTOP:\\example")),
           "binding read back");
    expect(GetGestureSwitch(STROKECAST_TEXT("zigzag")) == 1, "a new binding is switched on");
    expect(ExecuteAction(STROKECAST_TEXT("zigzag")) == 0, "suppressed by GLOBAL");

    expect(RemoveOneCustomAction(STROKECAST_TEXT("DESKTOP:\\example")) == 0, "a bound custom action stays");
    expect(RemoveOneGesture(STROKECAST_TEXT("zigzag")) == 1, "gesture and binding removed");
    expect(GetActionOfGesture(STROKECAST_TEXT("zigzag"), action, 64) > 0 &&
               same(action, STROKECAST_TEXT("__NULLACTION_FOUND__")),
           "unbound");
    expect(GetGestureSwitch(STROKECAST_TEXT("GLOBAL")) == 1, "GLOBAL survives the removal");
    expect(RemoveOneCustomAction(STROKECAST_TEXT("DESKTOP:\\example")) == 1, "custom action removed");

    CloseActionNanager();
    CloseGestureManager();
    expect(CheckNameExist(STROKECAST_TEXT("anything")) == 1, "closed: every name counts as taken");
    printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
