#!/usr/bin/env python3
"""Checks of a release build: the Windows version resources, the archive's listing against the installed
tree, and the header's version macros against the project's version. Prints one line per finding and
exits 1 when anything disagrees."""
import pathlib
import re
import struct
import sys
import zipfile


def read_utf16(data, i):
    end = i
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[i:end].decode("utf-16-le")


def version_strings(data, key):
    """Every value of the version resource's string `key` in a PE file's bytes."""
    values = []
    needle = key.encode("utf-16-le") + b"\0\0"
    start = 0
    while (at := data.find(needle, start)) >= 0:
        i = at + len(needle)
        while data[i:i + 2] == b"\0\0":  # padding to the value's 32-bit boundary
            i += 2
        values.append(read_utf16(data, i))
        start = i
    return values


def check_versioninfo(path, version):
    data = pathlib.Path(path).read_bytes()
    problems = []
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return [f"{path}: no VS_FIXEDFILEINFO"]
    _, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", data, at)
    major, minor, patch = (int(p) for p in version.split("."))
    want_ms, want_ls = major << 16 | minor, patch << 16
    if (file_ms, file_ls) != (want_ms, want_ls):
        problems.append(f"{path}: fixed file version {file_ms:#x},{file_ls:#x}, wanted {want_ms:#x},{want_ls:#x}")
    if (product_ms, product_ls) != (want_ms, want_ls):
        problems.append(f"{path}: fixed product version {product_ms:#x},{product_ls:#x}")
    for key in ("FileVersion", "ProductVersion"):
        if version_strings(data, key) != [version]:
            problems.append(f"{path}: {key} {version_strings(data, key)}, wanted [{version!r}]")
    copyright_ = version_strings(data, "LegalCopyright")
    if not copyright_ or "the Strokecast developers" not in copyright_[0]:
        problems.append(f"{path}: LegalCopyright {copyright_}")
    if not version_strings(data, "FileDescription"):
        problems.append(f"{path}: no FileDescription")
    return problems


def check_archive(zip_path, tree, required=()):
    """The archive holds exactly the installed tree's files under one top folder, the required ones among
    them (the programs a person runs, which an install rule could drop without anything else noticing)."""
    tree = pathlib.Path(tree)
    installed = sorted(str(p.relative_to(tree)) for p in tree.rglob("*") if p.is_file() or p.is_symlink())
    with zipfile.ZipFile(zip_path) as z:
        names = [n for n in z.namelist() if not n.endswith("/")]
    top = {n.split("/", 1)[0] for n in names}
    if len(top) != 1:
        return [f"{zip_path}: top folders {sorted(top)}"]
    listed = sorted(n.split("/", 1)[1] for n in names)
    missing = [f for f in required if f not in listed]
    if missing:
        return [f"{zip_path}: lacks {missing}"]
    if listed != installed:
        return [f"{zip_path}: only in archive {sorted(set(listed) - set(installed))}, "
                f"only installed {sorted(set(installed) - set(listed))}"]
    return []


def check_header(header, version):
    text = pathlib.Path(header).read_text()
    macros = dict(re.findall(r"#define STROKECAST_VERSION_(MAJOR|MINOR|PATCH|STRING) +\"?([0-9.]+)\"?", text))
    major, minor, patch = version.split(".")
    wanted = {"MAJOR": major, "MINOR": minor, "PATCH": patch, "STRING": version}
    return [f"{header}: STROKECAST_VERSION_{k} {macros.get(k)!r}, wanted {v!r}"
            for k, v in wanted.items() if macros.get(k) != v]


def main(argv):
    command, args = argv[1], argv[2:]
    if command == "versioninfo":
        problems = [p for f in args[1:] for p in check_versioninfo(f, args[0])]
    elif command == "archive":
        problems = check_archive(args[0], args[1], args[2:])
    elif command == "header":
        problems = check_header(args[0], args[1])
    else:
        problems = [f"unknown check {command}"]
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
