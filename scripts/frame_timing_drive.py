#!/usr/bin/env python3
"""frame_timing_drive.py - plays one game through xdotool while the game writes its frame log.

Called by scripts/frame-timing-run.sh once the game is launched on DISPLAY. It follows the frame
log's screen names, so it acts on what the game shows rather than on guessed delays:

  title     waits two seconds, then clicks to start a game;
  play      sweeps the ship along the bottom, clicking to fire, until the ship is hit;
  title     waits two seconds after game over, then presses Escape to quit.

The measurement must not disturb what it measures: on two cores every process started costs the
game's frames milliseconds. So the log is read in this process (only the bytes added since the
last look) and xdotool is started once per few seconds of play, with the moves, clicks and pauses
of that stretch chained in one command, at the lowest priority.

  frame_timing_drive.py LOG GAME_PID WIDTH HEIGHT

Prints one line: "ok", or what did not happen ("no title", "no play", ...). Status 0 when ok.
"""

import os
import subprocess
import sys
import time


class FrameLog:
    """The screens the frame log has named so far, read incrementally."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.partial = ""
        self.seen = []  # screens in order of first appearance
        self.last = None  # the latest frame's screen

    def poll(self):
        try:
            with open(self.path, "r") as f:
                f.seek(self.offset)
                text = f.read()
                self.offset = f.tell()
        except FileNotFoundError:
            return
        lines = (self.partial + text).split("\n")
        self.partial = lines.pop()  # a line still being written
        for line in lines:
            if not line or line.startswith("#"):
                continue
            screen = line.rsplit(" ", 1)[-1]
            self.last = screen
            if screen not in self.seen:
                self.seen.append(screen)


def alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except OSError:
        return False


def wait_for(log, pid, screen, seconds):
    """Waits until the log's latest frame shows `screen`; False on timeout or when the game ends."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        log.poll()
        if log.last == screen:
            return True
        if not alive(pid):
            return False
        time.sleep(0.1)
    return False


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=False)


def sweep_chain(width, height, start_step, steps):
    """One xdotool command line: `steps` moves along the bottom, each with a click, 70 ms apart."""
    args = []
    y = height * 5 // 6
    span = width // 2
    for step in range(start_step, start_step + steps):
        x = (step * 23) % (2 * span)
        if x > span:
            x = 2 * span - x
        args += ["mousemove", width // 4 + x, y, "click", 1, "sleep", 0.07]
    return args


def main():
    if len(sys.argv) != 5:
        print(__doc__.strip().splitlines()[-3], file=sys.stderr)
        return 2
    path, pid, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    os.nice(19)
    log = FrameLog(path)
    if not wait_for(log, pid, "title", 30):
        print("no title")
        return 1
    time.sleep(2)
    xdotool("mousemove", width // 2, height * 5 // 6, "click", 1)
    if not wait_for(log, pid, "play", 20):
        print("no play")
        return 1
    step = 0
    deadline = time.monotonic() + 180
    while time.monotonic() < deadline and alive(pid):
        xdotool(*sweep_chain(width, height, step, 40))  # about three seconds
        step += 40
        log.poll()
        if "gameover" in log.seen:
            break
    if "gameover" not in log.seen:
        print("no game over")
        return 1
    if not wait_for(log, pid, "title", 30):
        print("no title after the game")
        return 1
    time.sleep(2)
    focus = subprocess.run(["xdotool", "search", "--name", "Zumbrix", "windowfocus"], check=False)
    if focus.returncode != 0:
        print("no window named Zumbrix to focus; Escape goes to the pointer's window", file=sys.stderr)
    xdotool("key", "Escape")
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
