#!/usr/bin/env python3
"""The editor library compiles without Qt.

Reads the build's compile_commands.json and checks, for every source of
editor/:
  - it is compiled at all (every editor/*.cpp has a compile line);
  - no include path or define of its compile line comes from Qt;
  - its compile line cannot compile a file that includes a Qt header, while
    the same line compiles a file that includes the editor's headers (so
    the refusal is Qt's absence, not a broken line).

  editor_layers.py BUILD_DIR SOURCE_DIR
"""
import json
import os
import shlex
import subprocess
import sys
import tempfile


def fail(message):
    print("editor_layers: " + message)
    sys.exit(1)


def arguments_of(entry):
    if "arguments" in entry:
        return list(entry["arguments"])
    return shlex.split(entry["command"])


def looks_like_qt(argument):
    lowered = argument.lower()
    return "qt6" in lowered or "/qt" in lowered or argument.startswith("-DQT_")


def compile_probe(arguments, source, directory, probe_text):
    """Runs the compile line with the source replaced by a probe file."""
    with tempfile.TemporaryDirectory() as scratch:
        probe = os.path.join(scratch, "probe.cpp")
        with open(probe, "w", encoding="utf-8") as f:
            f.write(probe_text)
        args = []
        skip = False
        for i, a in enumerate(arguments):
            if skip:
                skip = False
                continue
            if a in ("-o", "-MF", "-MT", "-MQ"):
                skip = True
                if a == "-o":
                    args += ["-o", os.path.join(scratch, "probe.o")]
                continue
            if a in ("-MD", "-MMD"):
                continue
            args.append(probe if os.path.realpath(os.path.join(directory, a)) == source else a)
        if probe not in args:
            fail("could not put the probe in the place of " + source)
        result = subprocess.run(args, cwd=directory, capture_output=True, text=True)
        return result.returncode, result.stderr


def main():
    if len(sys.argv) != 3:
        fail("usage: editor_layers.py BUILD_DIR SOURCE_DIR")
    build, source_dir = sys.argv[1], os.path.realpath(sys.argv[2])
    editor_dir = os.path.join(source_dir, "editor")
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entries = json.load(f)

    editor_entries = {}
    for entry in entries:
        path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
        if os.path.dirname(path) == editor_dir:
            editor_entries[path] = entry
    sources = sorted(os.path.join(editor_dir, n) for n in os.listdir(editor_dir) if n.endswith(".cpp"))
    missing = [s for s in sources if s not in editor_entries]
    if not sources or missing:
        fail("editor sources without a compile line: " + ", ".join(missing or ["(none found)"]))

    for path, entry in sorted(editor_entries.items()):
        qt = [a for a in arguments_of(entry) if looks_like_qt(a)]
        if qt:
            fail(os.path.basename(path) + " is compiled with Qt's paths or defines: " + " ".join(qt))

    path, entry = sorted(editor_entries.items())[0]
    arguments = arguments_of(entry)
    code, errors = compile_probe(arguments, path, entry["directory"],
                                 '#include "tivra.h"\n#include "win32.h"\nint probe() { return TIVRA_MAX_LINE; }\n')
    if code != 0:
        fail("the compile line of " + os.path.basename(path) + " does not compile the editor's headers:\n" + errors)
    code, errors = compile_probe(arguments, path, entry["directory"],
                                 '#include "tivra.h"\n#include <QString>\nQString probe();\n')
    if code == 0:
        fail("a file of editor/ that includes <QString> compiles")
    if "QString" not in errors:
        fail("the Qt probe failed for another reason than the missing header:\n" + errors)
    print("editor_layers: %d sources of editor/ compile without Qt" % len(editor_entries))


if __name__ == "__main__":
    main()
