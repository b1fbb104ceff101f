#!/usr/bin/env python3
"""click_to_sound.py - one click-to-sound run of the real game; measure-click-to-sound.sh calls it.

Needs an X display (DISPLAY, e.g. from xvfb-run), libX11 and libXtst (for exact click times),
xdotool (to find the window) and a game binary whose data folder has the sounds. The game must
already be set up (by the caller) with the music off and in a window; this script starts it
with SDL's disk audio driver writing to --out, starts a game, fires --clicks shots at logged
times and prints one line per click with its click-to-sound time.

How a click's time maps to a place in the output. SDL's disk driver takes one buffer of the
device's size from the game, writes it to the file and then sleeps about one buffer's time, so
the file grows by whole buffers at about real-time pace. The caller preloads
disk_audio_unbuffered.c (--preload), so that each buffer reaches the file when SDL hands it
over rather than when 4 KiB of stdio buffer fill up. A thread here polls the file's size every
half millisecond and logs the time of each growth. A sample at byte offset b lies in the buffer
[c, c + size) with c = b - b mod size (size: the commonest growth); that buffer was handed to
the "card" when the file first held c + size bytes, and the sample sounds (b - c) / 176400 s
after that. Click-to-sound is that time minus the time the click's button press reached the X
server (XTestFakeButtonEvent followed by XSync). Following each buffer to its hand-over keeps
the driver's pace out of the figure (its sleep is rounded down to whole milliseconds, so it runs
a little fast). A real sound card starts a buffer only after the one it is playing, which adds
up to one SDL buffer (printed) to what is measured here.

A clean click is one whose sound starts within 400 ms, after 60 ms of silence, and lasts as long
as the shot alone (150 to 190 ms): any other sound in the way makes it longer. Other clicks are
listed but not counted.
"""
import argparse
import array
import ctypes
import os
import random
import subprocess
import sys
import threading
import time

RATE = 44100
FRAME_BYTES = 4
THRESHOLD = 64  # |sample| above this is sound; with the music off the silence is exact zeros


def now():
    return time.monotonic()


class FileWatch(threading.Thread):
    """Logs (time, size) each time the output file grows."""

    def __init__(self, path):
        super().__init__(daemon=True)
        self.path = path
        self.log = []
        self.stop = False

    def run(self):
        last = -1
        while not self.stop:
            try:
                size = os.stat(self.path).st_size
            except FileNotFoundError:
                size = -1
            if size != last:
                self.log.append((now(), size))
                last = size
            time.sleep(0.0005)


class Pointer:
    """Exact-time button presses through the XTest extension."""

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_int, ctypes.c_ulong]
        self.dpy = self.x11.XOpenDisplay(None)
        if not self.dpy:
            sys.exit("click_to_sound: no X display")

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        self.x11.XSync(self.dpy, 0)

    def press(self):
        """Presses the left button; returns the time the server had the press."""
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, 1, 0)
        self.x11.XSync(self.dpy, 0)
        return now()

    def release(self):
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, 0, 0)
        self.x11.XSync(self.dpy, 0)

    def click(self):
        at = self.press()
        time.sleep(0.03)
        self.release()
        return at


def window_centre(timeout):
    found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "Zumbrix"],
                           capture_output=True, text=True, timeout=timeout)
    ids = found.stdout.split()
    if not ids:
        sys.exit("click_to_sound: the game's window did not appear")
    geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", ids[0]],
                              capture_output=True, text=True, timeout=10).stdout
    values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
    return (int(values["X"]) + int(values["WIDTH"]) // 2,
            int(values["Y"]) + int(values["HEIGHT"]) * 3 // 4)


def buffer_bytes(log):
    """The disk driver's write size: the commonest growth step."""
    steps = {}
    for (_, a), (_, b) in zip(log, log[1:]):
        if a >= 0 and b > a:
            steps[b - a] = steps.get(b - a, 0) + 1
    if not steps:
        sys.exit("click_to_sound: the output file never grew (is SDL's disk driver there?)")
    return max(steps, key=steps.get)


def byte_time(log, size, offset):
    """The wall time at which byte `offset` of the output sounds."""
    start = offset - offset % size
    for t, grown in log:
        if grown >= start + size:
            return t + (offset - start) / (RATE * FRAME_BYTES)
    return None


def sounds(path):
    """(first frame, last frame) of each stretch of sound, split at 30 ms of silence."""
    data = array.array("h")
    with open(path, "rb") as f:
        data.frombytes(f.read())
    if sys.byteorder != "little":
        data.byteswap()
    stretches = []
    begin = end = None
    gap = int(RATE * 0.03)
    for frame in range(len(data) // 2):
        if abs(data[2 * frame]) > THRESHOLD or abs(data[2 * frame + 1]) > THRESHOLD:
            if begin is None or frame - end > gap:
                if begin is not None:
                    stretches.append((begin, end))
                begin = frame
            end = frame
    if begin is not None:
        stretches.append((begin, end))
    return stretches


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--game", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--clicks", type=int, default=8)
    ap.add_argument("--log", default=None, help="the game's stderr")
    ap.add_argument("--verbose", action="store_true", help="list every sound found")
    ap.add_argument("--preload", default=None, help="the unbuffering shim (LD_PRELOAD)")
    args = ap.parse_args()

    env = dict(os.environ, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=args.out)
    if args.preload:
        env["LD_PRELOAD"] = args.preload
    watch = FileWatch(args.out)
    watch.start()
    err = open(args.log, "w") if args.log else subprocess.DEVNULL
    game = subprocess.Popen([args.game, "--window"], env=env, stderr=err, stdout=err)
    clicks = []
    try:
        x, y = window_centre(30)
        pointer = Pointer()
        pointer.move(x, y)
        time.sleep(2.0)
        pointer.click()  # ends the splash
        time.sleep(1.5)
        pointer.click()  # starts a game from the title
        # The get-ready sequence takes 267 frames (4.45 s); the first swarm comes about 2 s
        # into play, and its sounds hide the shots after it.
        time.sleep(4.7)
        pointer.move(x, y)
        for _ in range(args.clicks):
            clicks.append(pointer.click())
            # Never in step with the frames, so that clicks fall at every point of a frame.
            time.sleep(0.42 + random.random() * 0.017)
        time.sleep(1.0)
    finally:
        subprocess.run(["xdotool", "key", "Escape"], timeout=10)
        try:
            game.wait(10)
        except subprocess.TimeoutExpired:
            game.kill()
            game.wait()
        watch.stop = True
        watch.join()

    size = buffer_bytes(watch.log)
    stretches = sounds(args.out)
    times = [(byte_time(watch.log, size, b * FRAME_BYTES), b, e) for b, e in stretches]
    print(f"SDL buffer: {size // FRAME_BYTES} frames ({size / FRAME_BYTES / RATE * 1000:.1f} ms)")
    if args.verbose and clicks:
        for onset, b, e in times:
            if onset is not None:
                print(f"  sound at {1000 * (onset - clicks[0]):8.1f} ms from click 1, "
                      f"{1000 * (e - b) / RATE:.0f} ms long")
    clean = []
    for n, at in enumerate(clicks, 1):
        found = None
        previous_end = None
        for onset, b, e in times:
            if onset is None:
                continue
            if onset < at:
                previous_end = byte_time(watch.log, size, e * FRAME_BYTES)
                continue
            found = (onset, b, e)
            break
        if not found or found[0] - at > 0.4:
            print(f"click {n}: no sound within 400 ms")
            continue
        onset, b, e = found
        quiet = previous_end is None or onset - previous_end >= 0.06
        whole = 0.15 <= (e - b) / RATE <= 0.19  # the shot alone is 170 ms
        ms = (onset - at) * 1000
        ok = quiet and whole
        print(f"click {n}: {ms:6.1f} ms{'' if ok else '  (not clean: overlaps another sound)'}")
        if ok:
            clean.append(ms)
    if clean:
        print(f"clean clicks: {len(clean)}  min {min(clean):.1f}  "
              f"mean {sum(clean) / len(clean):.1f}  max {max(clean):.1f} ms")
    else:
        print("clean clicks: 0")
    return 0 if clean else 1


if __name__ == "__main__":
    sys.exit(main())
