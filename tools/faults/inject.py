#!/usr/bin/env python3
"""Measures the power of the test suite: applies realistic one-line faults, one at a
time, to a scratch copy of the working tree, rebuilds, runs the tests without the e2e
label and reports which faults the suite catches.

    tools/faults/inject.py [--only ID,ID] [--table FILE] [--scratch DIR] [--keep]

The faults live in tools/faults/faults.txt: blocks of "id", "file", "old" and "new"
lines separated by blank lines, "\\n" in a value standing for a line break; "old" must
occur exactly once in its file.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def read_table(path):
    """The fault table as a list of dicts with id, file, old, new, what."""
    faults, block = [], {}
    with open(path, encoding="utf-8") as f:
        for raw in f.read().split("\n"):
            line = raw.rstrip("\n")
            if line.startswith("#"):
                continue
            if not line.strip():
                if block:
                    faults.append(block)
                block = {}
                continue
            key, _, value = line.partition(": ")
            block[key.strip()] = value.replace("\\n", "\n")
    if block:
        faults.append(block)
    for fault in faults:
        for key in ("id", "file", "old", "new"):
            if key not in fault:
                sys.exit(f"fault {fault.get('id', '?')}: no '{key}' line")
    return faults


def run(cmd, cwd, log, timeout=None):
    """Runs a command, its output appended to `log`; its exit status (124 on time-out)."""
    with open(log, "a", encoding="utf-8") as out:
        out.write(f"\n$ {' '.join(cmd)}\n")
        out.flush()
        try:
            return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return 124


def copy_tree(scratch):
    """The working tree, uncommitted changes included, without builds and git data."""
    src = os.path.join(scratch, "src-tree")
    if os.path.exists(src):
        shutil.rmtree(src)
    ignore = shutil.ignore_patterns(".git", "build", "build-*", "run")
    shutil.copytree(ROOT, src, ignore=ignore, symlinks=True)
    return src


def failed_tests(log):
    """Names of the tests ctest reported failed in the last run of `log`."""
    names = []
    with open(log, encoding="utf-8", errors="replace") as f:
        text = f.read()
    tail = text.rsplit("The following tests FAILED:", 1)
    if len(tail) == 2:
        for line in tail[1].splitlines()[1:]:
            line = line.strip()
            if not line or not line[0].isdigit():
                break
            names.append(line.split(" - ", 1)[-1].split(" (")[0])
    return names


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--table", default=os.path.join(ROOT, "tools", "faults", "faults.txt"))
    parser.add_argument("--only", default="", help="comma-separated fault ids")
    parser.add_argument("--scratch", default="/tmp/rq-faults")
    parser.add_argument("--keep", action="store_true", help="keep the scratch copy")
    parser.add_argument("--test-timeout", type=int, default=900)
    args = parser.parse_args()

    faults = read_table(args.table)
    if args.only:
        wanted = set(args.only.split(","))
        faults = [f for f in faults if f["id"] in wanted]
    os.makedirs(args.scratch, exist_ok=True)
    src = copy_tree(args.scratch)
    build = os.path.join(args.scratch, "build")
    log = os.path.join(args.scratch, "log.txt")
    open(log, "w").close()
    env_cmake = ["cmake", "-S", src, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release"]
    if shutil.which("ccache"):
        env_cmake.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    jobs = str(os.cpu_count() or 2)
    build_cmd = ["cmake", "--build", build, "-j", jobs]
    test_cmd = ["ctest", "--test-dir", build, "-LE", "e2e|package", "-j", jobs, "--timeout", "300"]

    for fault in faults:
        path = os.path.join(src, fault["file"])
        if not os.path.exists(path):
            sys.exit(f"fault {fault['id']}: no file {fault['file']}")
        text = open(path, encoding="utf-8").read()
        if text.count(fault["old"]) != 1:
            sys.exit(f"fault {fault['id']}: the old line occurs {text.count(fault['old'])} times in {fault['file']}")

    print("baseline build and tests ...", flush=True)
    if run(env_cmake, src, log) or run(build_cmd, src, log) or run(test_cmd, src, log, args.test_timeout):
        sys.exit(f"the unchanged tree does not build or pass; see {log}")

    results = []
    for fault in faults:
        path = os.path.join(src, fault["file"])
        original = open(path, encoding="utf-8").read()
        with open(path, "w", encoding="utf-8") as f:
            f.write(original.replace(fault["old"], fault["new"], 1))
        start = time.time()
        if run(build_cmd, src, log):
            verdict, tests = "does not build", []
        else:
            status = run(test_cmd, src, log, args.test_timeout)
            tests = failed_tests(log) if status else []
            verdict = "caught" if status else "missed"
        with open(path, "w", encoding="utf-8") as f:
            f.write(original)
        results.append((fault, verdict, tests))
        shown = ", ".join(tests[:3]) + (" ..." if len(tests) > 3 else "")
        print(f"{fault['id']:<28} {verdict:<15} {time.time() - start:6.0f} s  {shown}", flush=True)

    run(build_cmd, src, log)
    judged = [r for r in results if r[1] != "does not build"]
    caught = sum(1 for r in judged if r[1] == "caught")
    print(f"\ncaught {caught} of {len(judged)} faults", end="")
    broken = len(results) - len(judged)
    print(f" ({broken} did not build and are not counted)" if broken else "")
    for fault, verdict, _ in results:
        if verdict == "missed":
            print(f"  missed: {fault['id']}: {fault.get('what', '')}")
    if not args.keep:
        shutil.rmtree(args.scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
