#!/usr/bin/env python3
"""zarvinctl --json end to end, on the stand-in keyboard in a private per-user folder: results
are JSON objects on standard output, errors {"error": ...} on standard error with the usual exit
codes, and monitor prints one object a line. Usage: zarvinctl_json.py PATH_TO_ZARVINCTL"""

import json
import os
import subprocess
import sys
import tempfile

FAILURES = []


def run(program, env, *args, stdin=None):
    done = subprocess.run([program, *args], input=stdin, capture_output=True, text=True,
                          env=env, timeout=60)
    return done.returncode, done.stdout, done.stderr


def check(name, condition, detail=""):
    if not condition:
        FAILURES.append(f"{name}: {detail}")


def objects(text):
    """Each line of `text` parsed; a line that is no JSON object fails the check."""
    parsed = []
    for line in text.splitlines():
        value = json.loads(line)
        if not isinstance(value, dict):
            raise ValueError(f"not an object: {line}")
        parsed.append(value)
    return parsed


def main():
    program = sys.argv[1]
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, HOME=home, XDG_DATA_HOME=f"{home}/data",
                   XDG_CONFIG_HOME=f"{home}/config", XDG_RUNTIME_DIR=f"{home}/run")
        os.makedirs(f"{home}/run", mode=0o700)

        # Results: one object on one line, exit status 0.
        for args, field in [(["info"], "effects"), (["profile", "3"], "index"),
                            (["profile"], "profile"), (["keys"], "keys"),
                            (["lighting"], "effect"), (["list"], "interfaces"),
                            (["colours"], "keys"), (["sim-reset"], "reset")]:
            status, out, err = run(program, env, "--simulate", "--json", *args)
            name = " ".join(args)
            check(name, status == 0, f"status {status}, {err}")
            try:
                [value] = objects(out)
                check(name, field in value, out)
            except ValueError as error:
                check(name, False, f"{error}: {out!r}")

        status, out, _ = run(program, env, "--simulate", "--json", "profile", "3")
        status, out, _ = run(program, env, "--simulate", "--json", "profile")
        check("profile after 'profile 3'", json.loads(out) == {"profile": 3, "index": 2}, out)

        # Errors: one {"error": ...} object on standard error, nothing on standard output, and
        # the exit status of the text form.
        for args, expected_status, words in [
                (["--simulate", "remap", "CapsLok", "Esc"], 2, "did you mean CapsLock"),
                (["--simulate=129", "info"], 2, "unknown keyboard model"),
                (["frobnicate"], 2, "unknown command"),
                (["udev-check", "/devices/x"], 2, "'--json' does not go with udev-check"),
                (["--simulate", "restore", f"{home}/missing.fwc"], 1, "no such file"),
        ]:
            status, out, err = run(program, env, "--json", *args)
            name = " ".join(args)
            check(name, status == expected_status, f"status {status}")
            check(name, out == "", f"standard output {out!r}")
            try:
                [value] = objects(err)
                check(name, list(value) == ["error"] and words in value["error"], err)
            except ValueError as error:
                check(name, False, f"{error}: {err!r}")

        # A colour command that names no key or no colour changes no file in the per-user
        # folder (the user-mode files and the stand-in's memory live there).
        def snapshot():
            files = {}
            for folder, _, names in os.walk(f"{home}/data"):
                for name in names:
                    with open(os.path.join(folder, name), "rb") as file:
                        files[os.path.join(folder, name)] = file.read()
            return files
        before = snapshot()
        for args, words in [(["F1=ff00zz"], "'ff00zz' is not a colour"),
                            (["Nope=ff0000", "F1=ff0000"], "unknown key 'Nope'")]:
            status, out, err = run(program, env, "--simulate", "--json", "colours", *args)
            name = "colours " + " ".join(args)
            check(name, status == 2 and out == "", f"status {status}, {out!r}")
            check(name, words in err, err)
        check("bad colours write nothing", snapshot() == before)

        # monitor: one object a line, the notice carrying the profile both ways.
        status, out, err = run(program, env, "--simulate", "--json", "monitor", stdin="p\nq\n")
        check("monitor", status == 0, f"status {status}, {err}")
        try:
            lines = objects(out)
            events = [line["event"] for line in lines]
            check("monitor", events[:2] == ["connected", "notice"], out)
            check("monitor", lines[1].get("code") == 0x0402 and lines[1].get("index") == 0
                  and lines[1].get("profile") == 1, out)
            check("monitor", all("time" in line for line in lines), out)
        except (ValueError, IndexError) as error:
            check("monitor", False, f"{error}: {out!r}")

    for failure in FAILURES:
        print("FAILED", failure)
    print(f"zarvinctl --json: {'failed' if FAILURES else 'passed'}")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
