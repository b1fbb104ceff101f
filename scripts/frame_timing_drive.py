#!/usr/bin/env python3
"""frame_timing_drive.py - plays the game through xdotool while the game writes its frame log.

Called by scripts/frame-timing-run.sh once the game is launched on DISPLAY. It follows the frame
log's screen names, so it acts on what the game shows rather than on guessed delays:

  title     waits two seconds, then clicks to start a game;
  play      hops the ship between the ends of its zone, clicking to fire, until the wave ends;
            shot down before that, it starts another game (for up to two minutes);
  waveend   from then on sweeps the ship along the bottom, clicking, until the ship is hit;
  title     waits two seconds after game over, then presses Escape to quit.

The measurement must not disturb what it measures: on two cores every process started costs the
game's frames milliseconds. So the log is read in this process (only the bytes added since the
last look) and xdotool is started once per few seconds of play, with the moves, clicks and pauses
of that stretch chained in one command, at the lowest priority.

  frame_timing_drive.py LOG GAME_PID WIDTH HEIGHT

Prints one line: "ok (wave end in game N)", or what did not happen ("no title", "no play", "no
wave end in N games", ...). Status 0 when ok.
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
        self.entries = {}  # screen: how many times the log has switched to it
        self.frame = 0  # the latest frame's number

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
            fields = line.split()
            screen = fields[-1]
            self.frame = int(fields[0])
            if screen != self.last:
                self.entries[screen] = self.entries.get(screen, 0) + 1
            self.last = screen
            if screen not in self.seen:
                self.seen.append(screen)

    def count(self, screen):
        return self.entries.get(screen, 0)


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


class Screen:
    """Maps the game's 640x480 picture onto the X screen: scaled to fit, centred."""

    def __init__(self, width, height):
        self.scale = min(width / 640, height / 480)
        self.left = (width - 640 * self.scale) / 2
        self.top = (height - 480 * self.scale) / 2

    def at(self, x, y):
        return [round(self.left + x * self.scale), round(self.top + y * self.scale)]


# One step: a move, a click and a pause of at least 8 frames, so that each click finds the
# 8-frame cool-down of the ship's gun over. "--delay 0": xdotool's click otherwise waits 100 ms.
STEP_SECONDS = 0.15
STEPS_PER_CHAIN = 20  # about three seconds per xdotool process

# Dodging. A bee's bullet drifts sideways towards the side the ship was on when it was fired
# and falls for 40 to 110 frames before it reaches the bottom of the ship's zone; bullets
# leaving x 80..560 vanish. A ship at one end of its zone (x 95 or 545) is therefore only in
# danger from bullets fired while it was at that same end: it hops from end to end every
# 80 frames, so that most bullets land at the end it has just left. Firing all the time, it
# shoots the bees that cross either end's line and the diving bees, which home on its x.
# Played headlessly over hundreds of seeds this finishes wave 1 in about three games of four;
# the rest are shot down in the first 25 seconds, so the driver starts another game.
# The hold is counted in the game's frames, not in seconds: on a busy machine the game runs
# below 60 frames a second, and a hold of fixed seconds becomes a shorter one in frames.
DODGE_HOLD_FRAMES = 80
DODGE_CLICKS = 9  # per hold: one about every 9 frames
DODGE_ENDS = (60, 580)  # beyond the zone: the game clamps the ship to 95 and 545
DODGE_Y = 470  # clamped to 460, the bottom of the zone
WAVE_SECONDS = 120  # no new game is started in the last 20 s of these


class FrameRate:
    """The game's frames per second, measured from the log between two chains."""

    def __init__(self, log):
        self.log = log
        self.mark = (time.monotonic(), log.frame)
        self.fps = 60.0

    def update(self):
        now, frame = time.monotonic(), self.log.frame
        seconds, frames = now - self.mark[0], frame - self.mark[1]
        if seconds > 1 and frames > 0:
            self.fps = min(60.0, max(20.0, frames / seconds))
        self.mark = (now, frame)


def dodge_chain(screen, rate, start_step):
    """Two holds, one at each end: about three seconds."""
    pause = max(0.12, DODGE_HOLD_FRAMES / rate.fps / DODGE_CLICKS - 0.003)
    args = []
    for x in DODGE_ENDS:
        for _ in range(DODGE_CLICKS):
            args += ["mousemove", *screen.at(x, DODGE_Y), "click", "--delay", 0, 1]
            args += ["sleep", round(pause, 3)]
    return args, 2 * DODGE_CLICKS


def sweep_chain(screen, rate, start_step):
    """The old careless sweep along the bottom (x 160..480, y 400): it soon ends the game."""
    args = []
    for step in range(start_step, start_step + STEPS_PER_CHAIN):
        x = (step * 23) % 640
        if x > 320:
            x = 640 - x
        args += ["mousemove", *screen.at(160 + x, 400), "click", "--delay", 0, 1]
        args += ["sleep", STEP_SECONDS]
    return args, STEPS_PER_CHAIN


def play(log, pid, chain, screen, until, seconds):
    """Plays chains of steps until `until()` holds, the game ends or `seconds` pass."""
    step = 0
    deadline = time.monotonic() + seconds
    log.poll()
    rate = FrameRate(log)
    while time.monotonic() < deadline and alive(pid):
        args, steps = chain(screen, rate, step)
        xdotool(*args)
        step += steps
        log.poll()
        rate.update()
        if until():
            return True
    return False


def main():
    if len(sys.argv) != 5:
        print("usage: frame_timing_drive.py LOG GAME_PID WIDTH HEIGHT", file=sys.stderr)
        return 2
    path, pid, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    os.nice(19)
    log = FrameLog(path)
    screen = Screen(width, height)
    if not wait_for(log, pid, "title", 30):
        print("no title")
        return 1
    games = 0
    wave_deadline = time.monotonic() + WAVE_SECONDS
    in_game = False
    while time.monotonic() < wave_deadline - 20:
        games += 1
        time.sleep(2)
        xdotool("mousemove", *screen.at(320, 400), "click", 1)
        if not wait_for(log, pid, "play", 20):
            print("no play")
            return 1
        overs = log.count("gameover")
        in_game = not play(log, pid, dodge_chain, screen,
                           lambda: "waveend" in log.seen or log.count("gameover") > overs,
                           wave_deadline - time.monotonic())
        if "waveend" in log.seen:
            in_game = log.count("gameover") == overs
            break
        # Shot down before the wave ended: back to the title, and another game while time is left.
        if in_game or not wait_for(log, pid, "title", 30):
            break
    if in_game:
        overs = log.count("gameover")
        if not play(log, pid, sweep_chain, screen, lambda: log.count("gameover") > overs, 180):
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
    if "waveend" not in log.seen:
        print("no wave end in %d games" % games)
        return 1
    print("ok (wave end in game %d)" % games)
    return 0


if __name__ == "__main__":
    sys.exit(main())
