#!/usr/bin/env python3
"""Checks that the C# declarations (examples/csharp/NativeMethods.cs) and the Python wrapper
(examples/python/strokecast.py) declare every export of include/strokecast_exports.h, no other, with the
header's result and parameter types. Prints each disagreement; exits 1 when there is any."""
import ctypes
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(root / "examples" / "python"))
import strokecast  # noqa: E402

# C type -> (C# type, ctypes type)
TYPES = {
    "void": ("void", None),
    "int32_t": ("int", ctypes.c_int32),
    "uint32_t": ("uint", ctypes.c_uint32),
    "void*": ("IntPtr", ctypes.c_void_p),
    "const sc_char*": ("string", strokecast._text),
    "sc_char*": ("char[]", strokecast._text),
    "const uint16_t*": ("ushort[]", strokecast._points),
    "uint16_t*": ("ushort[]", strokecast._points),
    "double": ("double", ctypes.c_double),
    "StrokecastLogSink": ("LogSink", strokecast.LogSink),
    "StrokecastStrokeSink": ("StrokeSink", strokecast.StrokeSink),
}


def header_exports():
    text = (root / "include" / "strokecast_exports.h").read_text()
    exports = {}
    for result, name, params in re.findall(r"\n +X\(([^,]+), *(\w+), *\(([^)]*)\)\)", text):
        types = [] if params.strip() == "void" else [p.strip().rsplit(" ", 1)[0] for p in params.split(",")]
        exports[name] = (result.strip(), types)
    return exports


def csharp_exports():
    text = (root / "examples" / "csharp" / "NativeMethods.cs").read_text()
    exports = {}
    for attribute, result, name, params in re.findall(
            r'\[DllImport\(([^\]]*)\)\]\s*public static extern ([\w\[\]]+) (\w+)\(([^)]*)\);', text):
        # Without an EntryPoint the export is found by the method's own name.
        entry = re.search(r'EntryPoint = "(\w+)"', attribute)
        types = [p.strip().rsplit(" ", 1)[0] for p in params.split(",") if p.strip()]
        exports[entry.group(1) if entry else name] = (result, types, name)
    return exports


def main():
    header = header_exports()
    problems = []
    cs = csharp_exports()
    py = strokecast.SIGNATURES
    for where, names in (("C#", set(cs)), ("Python", set(py))):
        for missing in sorted(set(header) - names):
            problems.append(f"{where}: {missing} is not declared")
        for extra in sorted(names - set(header)):
            problems.append(f"{where}: {extra} is not an export")
    for name, (result, types) in header.items():
        if name in cs:
            cs_result, cs_types, method = cs[name]
            wanted = (TYPES[result][0], [TYPES[t][0] for t in types], name)
            if (cs_result, cs_types, method) != wanted:
                problems.append(f"C#: {name} is {cs_result} {method}({', '.join(cs_types)}), wanted "
                                f"{wanted[0]} {name}({', '.join(wanted[1])})")
        if name in py:
            py_result, py_types = py[name]
            if py_result is not TYPES[result][1] or py_types != [TYPES[t][1] for t in types]:
                problems.append(f"Python: {name} has types {py_result}, {py_types}")
    for p in problems:
        print(p)
    print(f"{len(header)} exports; {len(problems)} disagreements")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
