"""The Python example: drives the native library through the wrapper and checks every answer.

    python3 example.py LIBRARY FOLDER    LIBRARY: libstrokecast.so.1 (or strokecast.dll), FOLDER: scratch"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from strokecast import Strokecast  # noqa: E402


def main(library, folder):
    os.makedirs(folder, exist_ok=True)
    engine = Strokecast(library)
    failures = []

    def expect(ok, what):
        print(f"{what:<40} {'ok' if ok else 'FAILED'}")
        if not ok:
            failures.append(what)

    expect(engine.version() == (1, 0, 0), "version 1.0.0")
    expect(engine.fnv_hash("") == 2166136261, "FNV-1a of the empty text")
    engine.open("", folder)
    zigzag = [(10, 10), (110, 10), (10, 110), (110, 110)]
    expect(not engine.name_taken("zigzag"), "name is free")
    expect(engine.add_gesture("zigzag", zigzag), "gesture added")
    expect(engine.recognize(zigzag) == "zigzag", "stroke recognised")
    expect(engine.gestures() == ["zigzag"], "gesture listed")
    expect(engine.set_switch("GLOBAL", True), "GLOBAL on: no action runs")
    expect(engine.bind("zigzag", "CTRL_C"), "bound to a built-in action")
    expect(engine.action_of("zigzag") == "CTRL_C", "binding read back")
    expect(not engine.execute("zigzag"), "suppressed by GLOBAL")
    expect(engine.remove_gesture("zigzag"), "gesture removed")
    expect(engine.action_of("zigzag") == "__NULLACTION_FOUND__", "unbound")
    expect(engine.switch("GLOBAL"), "GLOBAL survives the removal")
    engine.close()
    expect(engine.recognize(zigzag) is None, "closed: nothing recognised")
    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
