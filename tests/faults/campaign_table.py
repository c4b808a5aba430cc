#!/usr/bin/env python3
"""Assembles the fault campaign's report rows into one Markdown table.

Each campaign case writes build/fault-campaign/<case>.row: group, test name,
outcome, invariants, time to end (ms), bound (ms), and "held" or "FAILED",
separated by tabs. Usage: campaign_table.py [row folder]
"""
import pathlib
import sys

# Order of the groups in the table, by the test suite's name.
GROUPS = [
    ("FaultUnplug", "Device: unplugged at a seeded byte offset"),
    ("FaultStall", "Device: stalls for good"),
    ("FaultSlow", "Device: reads slowly"),
    ("FaultReply", "Device: reply missing, short or wrong"),
    ("FaultIdentification", "Device: gone during the identification wait, and back"),
    ("FaultLibrary", "Library"),
    ("FaultOpenFile", "Library: open_file fails once (QUELVO_FAIL_OPEN)"),
    ("FaultFiles", "Files in the current folder"),
    ("FaultLangIni", "Surroundings: lang.ini"),
    ("FaultLongFolder", "Surroundings: long current folder"),
    ("FaultSurroundings", "Surroundings"),
    ("FaultResources", "Resources"),
]


def group_of(suite):
    name = suite.split("/")[-1]
    for order, (prefix, title) in enumerate(GROUPS):
        if name == prefix:
            return order, title
    return len(GROUPS), name


def case_of(test):
    # A parameterised case is named by its parameter; a plain one by its test.
    return test.split("/", 1)[1] if "/" in test else test


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build/fault-campaign")
    rows = []
    for path in sorted(folder.glob("*.row")):
        fields = path.read_text(encoding="latin-1").rstrip("\n").split("\t")
        if len(fields) != 7:
            continue
        suite, test, outcome, invariants, time_ms, bound_ms, held = fields
        order, title = group_of(suite)
        rows.append((order, title, case_of(test), outcome, invariants, int(time_ms),
                     int(bound_ms), held))
    rows.sort(key=lambda row: (row[0], row[2]))
    print("| group | case | outcome | invariants held | time to end (bound) |")
    print("|---|---|---|---|---:|")
    for _, title, case, outcome, invariants, time_ms, bound_ms, held in rows:
        verdict = invariants if held == "held" else "**FAILED**: " + invariants
        outcome = outcome.replace("|", "\\|")
        print(f"| {title} | {case} | {outcome} | {verdict} | {time_ms / 1000:.1f} s "
              f"({bound_ms / 1000:.0f} s) |")
    failed = sum(1 for row in rows if row[7] != "held")
    slowest = max((row[5] for row in rows), default=0)
    print()
    print(f"{len(rows)} cases, {failed} failed; the longest took {slowest / 1000:.1f} s to end.")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
