#!/usr/bin/env python3
"""The built game under hostile conditions, in a real X server.

  damaged-resources  the bundle copied with its Resources folder emptied, and again with its files cut short or
      turned to noise: the window opens on a plain surface, not a black hole, sweeps of clicks play on, what is
      missing is named on stderr, nothing crashes, Ctrl+Q ends the program.
  queued-clicks  clicks sent while "後手" waits its second and while the closing animation runs: no handler is
      re-entered, the clicks arrive in order once the running handler has returned, the program ends cleanly.
  no-display  no display, a dead local or remote X display, an unknown platform, a Wayland display that cannot be
      opened, a dead X display beside one: one line saying what was tried and how to give a display, exit status 1, no
      crash, with and without a runtime folder for Wayland; the same line from scripts/run-game. A dead X display
      beside a working Wayland display (weston): the game plays on Wayland.

Usage: robustness_x.py --program PATH [--wm] SCENARIO
"""

import os
import pathlib
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from xsession import (COMPUTER_FIRST, NEW_GAME, QUIET, RED_BUTTON, START, Game, Session, after_click, check,
                      computer_turns, distance, main, show, square)


def damaged_copy(program, folder, mangle):
    """A copy of the program's bundle with its Resources folder emptied, or with every second file cut to a third and
    the others turned to noise; returns the copy's program."""
    bundle = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(program))))
    copy, noise = os.path.join(folder, os.path.basename(bundle)), random.Random(7)  # the same noise at every run
    shutil.copytree(bundle, copy)
    for k, path in enumerate(sorted(pathlib.Path(copy, "Contents", "Resources").iterdir())):
        if not mangle:
            shutil.rmtree(path) if path.is_dir() else path.unlink()
        elif path.is_file():
            data = path.read_bytes()
            path.write_bytes(data[:len(data) // 3] if k % 2 == 0 else noise.randbytes(len(data)))
    return os.path.join(copy, "Contents", "MacOS", os.path.basename(program))


def damaged_resources(program):
    with tempfile.TemporaryDirectory(prefix="tovarine-damaged-") as work, Session() as session:
        for mangle, named in ((False, ("Crick.aiff", "Boo.aiff", "TessarBoard.png")), (True, (".aiff",))):
            damage = "mangled" if mangle else "emptied"
            game = Game(session, damaged_copy(program, os.path.join(work, damage), mangle), painted=False)
            time.sleep(1.0)
            means = game.means()
            check(mangle or max(distance(means[0], m) for m in means) < 6,
                  "the squares are not empty without pictures")
            check(mangle or sum(means[0]) > 60, "without its board picture the window is black: %s" % (means[0],))
            # Sweeps over every square: each legal one in turn gets its move and the computer's answer.
            for _ in range(5):
                game.click(*(square(i) for i in range(64)))
            game.click(NEW_GAME)
            err = game.quit()
            for name in named:
                check(name in err, "%s resources: no warning names %s:\n%s" % (damage, name, err))


def queued_clicks(program):
    with Session() as session:
        game = Game(session, program)
        # A legal square and "後手" again, clicked while "後手" waits.
        clicked = time.monotonic()
        game.click(COMPUTER_FIRST)
        time.sleep(0.15)
        game.click(square(19), COMPUTER_FIRST)
        time.sleep(max(0.0, clicked + 0.6 - time.monotonic()))
        check(game.read() == START, "a click during the wait was handled at once")
        board = game.wait_settled(START, timeout=5, quiet=0.5)
        possible = set().union(*(after_click(opening, 19) for opening in computer_turns(START)))
        check(board in possible, "the click on 19 during the wait did not follow the opening:" + show(board))

        # "再ゲーム" clicked during the wait comes after the opening: the game ends up new.
        game.click(NEW_GAME)
        check(game.wait_settled(board) == START, "再ゲーム did not restore the start position")
        game.click(COMPUTER_FIRST)
        time.sleep(0.2)
        game.click(NEW_GAME)
        time.sleep(2.2)
        board = game.read()
        check(board == START, "再ゲーム clicked during the wait did not come last:" + show(board))

        # Clicks in one burst right behind the press on the red button arrive while its closing animation runs.
        pressed = time.monotonic()
        game.click(RED_BUTTON, COMPUTER_FIRST, square(19), NEW_GAME, RED_BUTTON, square(26))
        game.ended("clicks during the closing animation", pressed)


def no_display(program):
    run_game = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "run-game")
    # Without the desktop's XDG_ settings, which change the toolkit's own choice of platforms.
    base = {k: v for k, v in os.environ.items()
            if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM") and not k.startswith("XDG_")}
    cases = (({}, "DISPLAY"), ({"DISPLAY": ":4711"}, ":4711"), ({"DISPLAY": "localhost:57"}, "localhost:57"),
             ({"DISPLAY": ":4711", "QT_QPA_PLATFORM": "bogus"}, "bogus"),
             ({"WAYLAND_DISPLAY": "wayland-4711"}, "wayland-4711"),
             ({"DISPLAY": ":4711", "WAYLAND_DISPLAY": "wayland-4711"}, ":4711", "wayland-4711"))
    with tempfile.TemporaryDirectory(prefix="tovarine-runtime-") as runtime:
        # The Wayland library says more on stderr without a runtime folder: still one line.
        for extra, *named in [(dict(c[0], **xdg), *c[1:]) for xdg in ({}, {"XDG_RUNTIME_DIR": runtime}) for c in cases]:
            said = []
            for command in ([program], [run_game, program]):
                result = subprocess.run(command, env=dict(base, **extra), capture_output=True, timeout=30,
                                        stdin=subprocess.DEVNULL)
                err = [line for line in result.stderr.decode(errors="replace").splitlines() if line.strip()]
                check(result.returncode == 1 and len(err) == 1, "%s, %s: exit code %d (negative: a signal), stderr:\n%s"
                      % (extra, os.path.basename(command[0]), result.returncode, "\n".join(err)))
                said.append(err[0])
            check(said[0] == said[1], "run-game and the program say different things: %s" % said)
            at = [said[0].find(n) for n in named]  # X is tried first, then Wayland
            check("display" in said[0] and -1 not in at and at == sorted(at) and "xvfb" in said[0],
                  "%s: the line does not name what was tried in turn and how to give a display: %s" % (extra, said[0]))

        # A dead X display beside a working Wayland display (weston without a screen): the game plays on Wayland.
        env = dict(base, XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="tovarine-e2e", SDL_AUDIODRIVER="dummy")
        weston = ["weston", "--backend=headless-backend.so", "--socket=tovarine-e2e", "--idle-time=0"]
        started = [subprocess.Popen(weston, env=env, stderr=subprocess.DEVNULL, **QUIET)]
        try:
            deadline = time.monotonic() + 15
            while not os.path.exists(os.path.join(runtime, "tovarine-e2e")):
                check(started[0].poll() is None and time.monotonic() < deadline, "weston did not start within 15 s")
                time.sleep(0.05)
            started.append(subprocess.Popen([program], env=dict(env, DISPLAY=":4711"), stderr=subprocess.PIPE, **QUIET))
            time.sleep(2)
            check(started[1].poll() is None, lambda: "beside a working Wayland display the game ended (exit %s):\n%s"
                  % (started[1].returncode, started[1].stderr.read().decode(errors="replace")))
        finally:
            for proc in reversed(started):
                if proc.poll() is None:  # not yet reaped: its process group is still ours
                    os.killpg(proc.pid, signal.SIGKILL)
                    proc.wait()


if __name__ == "__main__":
    sys.exit(main({"damaged-resources": damaged_resources, "queued-clicks": queued_clicks,
                   "no-display": no_display}, 150))
