#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that a result of bench/idle is complete, well-formed JSON.

Looks only at the shape: every program has its runs and a min and median of
every figure, and every ratio is a number. No figure is judged.
Usage: check_idle_result.py RESULT.json
"""

import json
import numbers
import sys

FIGURES = ["cpu_percent", "cpu_percent_schedstat", "pss_kib", "rss_kib", "uss_kib",
           "start_to_mapped_ms"]


def problems(result):
    if "error" in result:
        yield "the measurement failed: %s" % result["error"]
        return
    for name in ("tessaro", "reference"):
        program = result.get("programs", {}).get(name)
        if not program or not program.get("runs"):
            yield "no runs of %s" % name
            continue
        for figure in FIGURES:
            summary = program.get("summary", {}).get(figure, {})
            for kind in ("min", "median"):
                if not isinstance(summary.get(kind), numbers.Real):
                    yield "%s: no %s of %s" % (name, kind, figure)
    for figure in ("cpu_percent_schedstat", "pss_kib", "start_to_mapped_ms"):
        ratio = result.get("ratios", {}).get(figure, {}).get("median")
        if not isinstance(ratio, numbers.Real):
            yield "no ratio of the medians of %s" % figure


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        with open(sys.argv[1]) as source:
            result = json.load(source)
    except (OSError, ValueError) as error:
        print("check_idle_result: cannot read %s: %s" % (sys.argv[1], error), file=sys.stderr)
        return 1
    found = list(problems(result))
    for problem in found:
        print("check_idle_result: " + problem, file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
