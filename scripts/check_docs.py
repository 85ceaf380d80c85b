#!/usr/bin/env python3
"""Checks the host developer's documents in docs/ against the tree and runs their examples.

  - api.md has a section "### `Name`" for every export of include/strokecast_exports.h (an extension
    export "Strokecast…" may have its section in api-extensions.md instead) and none for any other
    name, and lists every built-in action name that action/builtin_actions.cpp runs;
  - host.md shows `strokecast-host --help` exactly as the built host prints it, and has a section
    "### `form`" for every command form the help names and for no other;
  - every ```c block of api.md compiles as the body of a C11 program against include/ and runs to exit
    status 0 against the native library (each in a fresh folder);
  - every ```console block of host.md and files.md runs: each "$ command" line goes to bash in a
    scratch folder (one per document, shared by its blocks in order, with data/samples copied to
    samples/), and what it prints, standard output and error together, must be the lines that follow
    ("…" in a shown line stands for any text: paths and hashes that differ between machines).

    python3 scripts/check_docs.py [BUILD_DIR]    BUILD_DIR: the native build (default build/native)

Prints one line per check and the differences found; exits 1 when any check failed."""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

root = pathlib.Path(__file__).resolve().parent.parent
docs = root / "docs"

C_HARNESS = r"""#include <assert.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "strokecast.h"

/* What every example may use: the configuration folder, the default gestures file, and a comparison of
 * two zero-terminated sc_char strings. */
static sc_char folder[1024];
static sc_char defaults[1024];

static int same(const sc_char* a, const sc_char* b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

static void widen(const char* from, sc_char* to) {
    size_t n = 0;
    for (; from[n] && n + 1 < 1024; ++n) to[n] = (sc_char)(unsigned char)from[n];
    to[n] = 0;
}

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    widen(argv[1], folder);
    widen(argv[2], defaults);
    {
#line 1 "api.md example"
%s
    }
    (void)same;
    printf("ok\n");
    return 0;
}
"""


def export_names():
    text = (root / "include" / "strokecast_exports.h").read_text()
    return re.findall(r"\n +X\([^,]+, *(\w+), *\(", text)


def builtin_action_names():
    """The names in the table of built-in actions, as their strings."""
    header = (root / "action" / "builtin_actions.h").read_text()
    constants = dict(re.findall(r'constexpr std::u16string_view (k\w+) = u"([^"]*)";', header))
    source = (root / "action" / "builtin_actions.cpp").read_text()
    used = set(re.findall(r"\b(k[A-Z]\w*)\b", source))
    return sorted(constants[c] for c in used if c in constants)


def sections(text):
    return re.findall(r"^### `([^`]+)`", text, re.M)


def fenced(text, language):
    return re.findall(r"^```" + language + r"\n(.*?)^```", text, re.M | re.S)


def help_text(host):
    run = subprocess.run(["strokecast-host", "--help"], capture_output=True, text=True, executable=str(host))
    return run.stdout


def help_commands(help_out):
    """Command forms of the help: "track NAME", "custom add KEY VALUE", "resident [--hotkey KEY] ..."."""
    forms = []
    for line in help_out.splitlines():
        m = re.match(r"^(?:\w+:)?\s{2,}(.*)$", line)
        if m and not line.startswith("usage") and not line.lstrip().startswith("strokecast-host"):
            forms += [f.strip() for f in m.group(1).split(" | ")]
    return forms


def check_api(problems):
    api = (docs / "api.md").read_text()
    documented = sections(api)
    exports = export_names()
    extensions_file = docs / "api-extensions.md"
    extensions = extensions_file.read_text() if extensions_file.exists() else ""
    for name in exports:
        # The Strokecast… extension exports may have their sections in api-extensions.md instead.
        extension = name.startswith("Strokecast") and name != "StrokecastVersion"
        if name not in documented and not (extension and re.search(rf"^#+ .*`{name}`", extensions, re.M)):
            problems.append(f"api.md: no section for the export {name}")
    for name in documented:
        if name not in exports:
            problems.append(f"api.md: a section for {name}, which include/strokecast_exports.h does not list")
    for name in builtin_action_names():
        if f"`{name}`" not in api:
            problems.append(f"api.md: the built-in action {name} is not listed")
    if "api-extensions.md" not in api:
        problems.append("api.md: no link to api-extensions.md")


def check_host_help(host, problems):
    text = (docs / "host.md").read_text()
    help_out = help_text(host)
    if not help_out:
        problems.append("strokecast-host --help printed nothing")
        return
    if "```console\n$ strokecast-host --help\n" + help_out + "```" not in text:
        problems.append("host.md: the --help output shown is not what strokecast-host --help prints")
    forms = help_commands(help_out)
    documented = sections(text)
    for form in forms:
        if form not in documented:
            problems.append(f"host.md: no section for the command '{form}'")
    options = re.findall(r"\[(--[\w-]+ [A-Z]+)\]", help_out.splitlines()[0])
    for form in documented:
        if form not in forms and form not in options and form not in ("--version", "--help"):
            problems.append(f"host.md: a section for '{form}', which --help does not name")
    for option in options:
        if option not in documented:
            problems.append(f"host.md: no section for the option '{option}'")


def check_c_examples(build, problems):
    api = (docs / "api.md").read_text()
    blocks = fenced(api, "c")
    if not blocks:
        problems.append("api.md: no C example")
    library = build / "bin"
    cc = shutil.which("cc") or shutil.which("gcc")
    if cc is None:
        problems.append("no C compiler for the api.md examples")
        return
    with tempfile.TemporaryDirectory() as work:
        for i, block in enumerate(blocks, 1):
            where = f"api.md C example {i} ({block.strip().splitlines()[0][:50]})"
            source = pathlib.Path(work) / f"example{i}.c"
            source.write_text(C_HARNESS % block)
            exe = pathlib.Path(work) / f"example{i}"
            build_run = subprocess.run([cc, "-std=c11", "-Wall", "-Wextra", "-Werror", "-I", str(root / "include"),
                                        str(source), "-o", str(exe), "-L", str(library), "-lstrokecast",
                                        f"-Wl,-rpath,{library}"], capture_output=True, text=True)
            if build_run.returncode != 0:
                problems.append(f"{where}: does not compile\n{build_run.stderr}")
                continue
            folder = pathlib.Path(work) / f"cfg{i}"
            folder.mkdir()
            run = subprocess.run([str(exe), str(folder), str(root / "data" / "default_gestures.configure")],
                                 capture_output=True, text=True, timeout=60)
            if run.returncode != 0 or not run.stdout.endswith("ok\n"):
                problems.append(f"{where}: failed (status {run.returncode})\n{run.stdout}{run.stderr}")


def console_steps(block):
    """(command, expected output) for each "$ " line of a console block."""
    steps = []
    for line in block.splitlines(keepends=True):
        if line.startswith("$ "):
            steps.append([line[2:].rstrip("\n"), ""])
        elif steps:
            steps[-1][1] += line
        else:
            raise ValueError(f"output before the first command: {line!r}")
    return steps


def same_output(shown, printed):
    """Line by line; "…" in a shown line stands for any text (a path or hash that differs per machine)."""
    shown_lines, printed_lines = shown.split("\n"), printed.split("\n")
    if len(shown_lines) != len(printed_lines):
        return False
    for s, p in zip(shown_lines, printed_lines):
        pattern = "".join(".*" if part == "…" else re.escape(part) for part in re.split("(…)", s))
        if not re.fullmatch(pattern, p):
            return False
    return True


def check_console(document, build, problems):
    text = (docs / document).read_text()
    with tempfile.TemporaryDirectory() as work:
        shutil.copytree(root / "data" / "samples", pathlib.Path(work) / "samples")
        env = dict(os.environ)
        env.update(PATH=f"{build / 'bin'}:{env.get('PATH', '')}", HOME=work, XDG_CONFIG_HOME=work, LC_ALL="C")
        for block in fenced(text, "console"):
            for command, expected in console_steps(block):
                run = subprocess.run(["bash", "-c", command], cwd=work, env=env, stdout=subprocess.PIPE,
                                     stderr=subprocess.STDOUT, text=True, timeout=60)
                if not same_output(expected, run.stdout):
                    problems.append(f"{document}: $ {command}\n--- shown\n{expected}--- printed\n{run.stdout}")


def main():
    build = pathlib.Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else root / "build" / "native"
    host = build / "bin" / "strokecast-host"
    checks = [
        ("api.md covers every export and built-in action", lambda p: check_api(p)),
        ("host.md matches strokecast-host --help", lambda p: check_host_help(host, p)),
        ("api.md C examples run", lambda p: check_c_examples(build, p)),
        ("host.md examples print what they show", lambda p: check_console("host.md", build, p)),
        ("files.md examples print what they show", lambda p: check_console("files.md", build, p)),
    ]
    if not host.exists():
        print(f"docs: no native build at {build} (strokecast-host missing)")
        return 1
    failed = 0
    for what, check in checks:
        problems = []
        check(problems)
        print(f"docs: {what}: {'ok' if not problems else 'FAILED'}")
        for p in problems:
            print("  " + p.replace("\n", "\n  "))
        failed += bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
