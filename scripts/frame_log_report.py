#!/usr/bin/env python3
"""frame_log_report.py - figures from zumbrix --frame-log files.

For each log: the start-up breakdown (the "# startup" steps and the first splash frame, in ms
since launch), the screens it passed through, and the frame intervals from the first frame of the
--from screen (the splash) on: the longest, how many exceed the limit, and the 99th percentile of
|interval - 16.67 ms|.
Then the same over all logs together. Exits 1 when a run misses a target (--max-ms, --p99-ms) or
passed through none of the screens named by --need.

  scripts/frame_log_report.py run1.log run2.log run3.log --need title,getready,play,gameover
  scripts/frame_log_report.py --from reference reference1.log    # bench/reference/paced_window
"""
import argparse
import sys

PERIOD_MS = 1000.0 / 60.0


def read_log(path):
    steps, frames = [], []
    with open(path) as f:
        for line in f:
            if line.startswith("# startup "):
                _, _, name, ms = line.split()
                steps.append((name, float(ms)))
            elif line and line[0].isdigit():
                number, flip_us, work_us, wait_us, screen = line.split()
                frames.append((int(number), int(flip_us), int(work_us), int(wait_us), screen))
    return steps, frames


def percentile(values, p):
    if not values:
        return 0.0
    ordered = sorted(values)
    index = min(len(ordered) - 1, max(0, int(round(p / 100.0 * len(ordered))) - 1))
    return ordered[index]


def intervals_after(frames, screen):
    """(interval ms, frame, screen) for each frame after the first frame of `screen`."""
    first = next((i for i, f in enumerate(frames) if f[4] == screen), None)
    if first is None:
        return []
    out = []
    for before, after in zip(frames[first:], frames[first + 1:]):
        if after[0] != before[0] + 1:
            continue  # a frame not timed in between
        out.append(((after[1] - before[1]) / 1000.0, after[0], after[4]))
    return out


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("logs", nargs="+")
    parser.add_argument("--max-ms", type=float, default=25.0)
    parser.add_argument("--p99-ms", type=float, default=1.0)
    parser.add_argument("--need", default="", help="screens every run must pass through")
    parser.add_argument("--from", dest="start", default="splash",
                        help="the screen whose first frame starts the intervals")
    args = parser.parse_args()
    need = [s for s in args.need.split(",") if s]

    failed = False
    everything = []
    for path in args.logs:
        steps, frames = read_log(path)
        print(f"== {path}")
        first_splash = next((f for f in frames if f[4] == "splash"), None)
        if steps:
            previous = 0.0
            parts = []
            for name, ms in steps:
                parts.append(f"{name} {ms - previous:.1f}")
                previous = ms
            if first_splash:
                parts.append(f"first splash frame {first_splash[1] / 1000.0 - previous:.1f}")
            print("start-up (ms per step): " + ", ".join(parts))
            probe = dict(steps).get("probe")
            if first_splash and probe is not None:
                print(f"  launch to first splash frame {first_splash[1] / 1000.0:.1f} ms; "
                      f"probe's end to first splash frame {first_splash[1] / 1000.0 - probe:.1f} ms")
        screens = []
        for f in frames:
            if not screens or screens[-1] != f[4]:
                screens.append(f[4])
        print("screens: " + " > ".join(screens))
        missing = [s for s in need if s not in screens]
        if missing:
            print("  MISSING screens: " + ", ".join(missing))
            failed = True
        ints = intervals_after(frames, args.start)
        everything.extend(ints)
        if not ints:
            print(f"  no frames after a {args.start} frame")
            failed = True
            continue
        deviation = [abs(i[0] - PERIOD_MS) for i in ints]
        worst = sorted(ints, reverse=True)[:5]
        over = [i for i in ints if i[0] > args.max_ms]
        p99 = percentile(deviation, 99)
        print(f"  {len(ints)} intervals: longest {worst[0][0]:.2f} ms, over {args.max_ms:g} ms: "
              f"{len(over)}, p99 |interval - 16.67| {p99:.3f} ms")
        print("  longest: " + ", ".join(f"{ms:.1f} ms (frame {n}, {s})" for ms, n, s in worst))
        if over or p99 >= args.p99_ms:
            failed = True
    if len(args.logs) > 1 and everything:
        deviation = [abs(i[0] - PERIOD_MS) for i in everything]
        print(f"== all {len(args.logs)} runs: {len(everything)} intervals, longest "
              f"{max(i[0] for i in everything):.2f} ms, over {args.max_ms:g} ms: "
              f"{sum(1 for i in everything if i[0] > args.max_ms)}, "
              f"p99 |interval - 16.67| {percentile(deviation, 99):.3f} ms")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
