#!/usr/bin/env python3
"""The built game under hostile conditions, in a real X server.

Scenarios (one per run):
  damaged-resources --damage emptied|mangled
      the bundle copied with its Resources folder emptied, or with its files
      cut short or replaced by noise: the window opens, clicks play on, the
      missing sounds are named on stderr, nothing crashes.
  no-audio
      no audio device (SDL_AUDIODRIVER=nonexistent): a whole game is played
      and checked move by move on screen; one warning, no sound.
  queued-clicks
      clicks sent while "後手" waits its second and while the closing
      animation runs: no handler is re-entered, the clicks arrive in order
      once the running handler has returned, the program ends cleanly.
  no-display
      no DISPLAY and no QT_QPA_PLATFORM: one line saying a display is
      needed and how to give one, a non-zero exit code, no crash.

Usage: robustness_x.py --program PATH SCENARIO [--damage KIND]
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

from board import BLACK, START, ScreenBoard, after_click, computer_turns, distance, legal_moves, show
from xsession import Failure, XSession, check, square_centre, watchdog

COMPUTER_FIRST = (434, 623)
NEW_GAME = (537, 623)
RED_BUTTON = (30, 25)


def step(text):
    print("ok:", text, flush=True)


def quit_with_ctrl_q(session, program):
    check(program.alive(), "the game ended on its own: exit %s\n%s" % (program.proc.poll(), program.stderr()))
    session.move(program.geometry[0] + 320, program.geometry[1] + 300)
    session.key(program.window, "ctrl+q")
    code = program.wait_exit(5)
    check(code == 0, "Ctrl+Q: exit code %s\n%s" % (code, program.stderr()[-3000:]))


def no_errors(program):
    err = program.stderr()
    for word in ("Exception", "AddressSanitizer", "runtime error", "Segmentation"):
        check(word not in err, "stderr reports an error:\n" + err[-3000:])
    return err


def damaged_bundle(program_path, damage, workdir):
    """A copy of the bundle whose Resources folder is emptied or mangled;
    returns the copy's program."""
    bundle = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(program_path))))
    copy = os.path.join(workdir, "Tovarine.app")
    shutil.copytree(bundle, copy)
    resources = os.path.join(copy, "Contents", "Resources")
    noise = random.Random(7)
    for k, name in enumerate(sorted(os.listdir(resources))):
        path = os.path.join(resources, name)
        if os.path.isdir(path):
            if damage == "emptied":
                shutil.rmtree(path)
            continue
        if damage == "emptied":
            os.remove(path)
            continue
        with open(path, "rb") as f:
            data = f.read()
        if k % 2 == 0:
            data = data[: len(data) // 3]
        else:
            data = bytes(noise.randrange(256) for _ in range(len(data)))
        with open(path, "wb") as f:
            f.write(data)
    return os.path.join(copy, "Contents", "MacOS", os.path.basename(program_path))


def scenario_damaged_resources(program_path, damage):
    workdir = tempfile.mkdtemp(prefix="tovarine-damaged-")
    try:
        program_copy = damaged_bundle(program_path, damage, workdir)
        with XSession() as session:
            program = session.start_program([program_copy], "damaged")
            program.find_window(width=640)
            time.sleep(1.0)
            origin = program.content_origin()
            step("the window opens with a %s Resources folder" % damage)
            if damage == "emptied":
                image = session.screenshot()
                means = []
                for i in range(64):
                    cx, cy = square_centre(i)
                    means.append(image.mean(origin[0] + cx - 10, origin[1] + cy - 10, 20, 20))
                check(max(distance(means[0], m) for m in means) < 6,
                      "squares are not empty without pictures")
                step("every square's area is empty without pictures")
            # Sweeps of clicks over every square play the game on: each legal
            # square in turn gets its move and the computer answers.
            for sweep in range(5):
                points = [square_centre(i) for i in range(64)]
                session.click_many([(origin[0] + x, origin[1] + y) for x, y in points])
                check(program.alive(), "the game ended during sweep %d:\n%s" % (sweep, program.stderr()[-3000:]))
            session.click(origin[0] + NEW_GAME[0], origin[1] + NEW_GAME[1])
            step("five sweeps of clicks over the board played without a fault")
            quit_with_ctrl_q(session, program)
            err = no_errors(program)
            if damage == "emptied":
                for name in ("Crick.aiff", "Boo.aiff"):
                    check(name in err, "no warning names %s:\n%s" % (name, err))
            else:
                check(".aiff" in err, "no warning names a damaged sound:\n" + err)
            step("the missing sounds are named on stderr; Ctrl+Q ends the program with 0")
    finally:
        shutil.rmtree(workdir, ignore_errors=True)


def scenario_no_audio(program_path):
    with XSession() as session:
        program = session.start_program([program_path], "no-audio", SDL_AUDIODRIVER="nonexistent")
        program.find_window(width=640)
        screen = ScreenBoard(session, program)
        screen.calibrate(screen.wait_painted())
        board, moves = START, 0
        while legal_moves(board, BLACK) and moves < 40:
            options = legal_moves(board, BLACK)
            board = screen.play_checked(board, options[moves % len(options)])
            moves += 1
        check(not legal_moves(board, BLACK), "the game did not end within 40 moves")
        step("a whole game of %d moves played without an audio device:%s" % (moves, show(board)))
        quit_with_ctrl_q(session, program)
        err = no_errors(program).strip()
        check(err != "", "no warning that the game is silent")
        check(len(err.splitlines()) <= 5, "more than a few warnings:\n" + err)
        step("stderr warns once: " + err.splitlines()[0])


def scenario_queued_clicks(program_path):
    with XSession() as session:
        program = session.start_program([program_path], "queued")
        program.find_window(width=640)
        screen = ScreenBoard(session, program)
        screen.calibrate(screen.wait_painted())
        ox, oy = screen.origin

        # A legal square and "後手" again, clicked while "後手" waits.
        screen.click_at(*COMPUTER_FIRST)
        clicked = time.monotonic()
        time.sleep(0.15)
        screen.click_square(19)
        screen.click_at(*COMPUTER_FIRST)
        time.sleep(max(0.0, clicked + 0.6 - time.monotonic()))
        check(screen.read() == START, "a click during the wait was handled at once")
        board = screen.wait_settled(START, timeout=5, quiet=0.5)
        possible = set()
        for opening in computer_turns(START):
            possible |= after_click(opening, 19)
        if board not in possible:
            time.sleep(2.0)
            later = screen.read()
            session.tool(["xdotool", "mousemove_relative", "1", "1"])
            time.sleep(0.5)
            moved = screen.read()
            raise Failure("after the wait the queued click on 19 did not follow the opening:%s\n"
                          "and 2 s later:%s\nand after a mouse move:%s" % (show(board), show(later), show(moved)))
        step("clicks during 後手's wait are held and then handled in order:" + show(board))

        # "再ゲーム" clicked during the wait comes after the computer's
        # opening, so the game ends up new.
        screen.click_at(*NEW_GAME)
        board = screen.wait_settled(board)
        check(board == START, "再ゲーム did not restore the start position")
        screen.click_at(*COMPUTER_FIRST)
        time.sleep(0.2)
        screen.click_at(*NEW_GAME)
        time.sleep(2.2)
        board = screen.read()
        check(board == START, "再ゲーム clicked during the wait did not come last:" + show(board))
        step("再ゲーム clicked during the wait arrives after the opening")

        # Clicks while the closing animation runs: sent in one burst right
        # behind the press on the red button, so they all arrive while its
        # handler is still animating.
        targets = [RED_BUTTON, COMPUTER_FIRST, square_centre(19), NEW_GAME, RED_BUTTON, square_centre(26)]
        pressed = time.monotonic()
        session.click_many([(ox + x, oy + y) for x, y in targets])
        code = program.wait_exit(5)
        check(code == 0, "clicks during the closing animation: exit code %s\n%s" % (code, program.stderr()[-3000:]))
        no_errors(program)
        step("clicks during the closing animation: the program ends with 0 after %.2f s"
             % (time.monotonic() - pressed))


def scenario_no_display(program_path):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env["SDL_AUDIODRIVER"] = "dummy"
    try:
        result = subprocess.run([program_path], env=env, capture_output=True, timeout=30,
                                stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        raise Failure("without a display the program did not end within 30 s")
    err = result.stderr.decode(errors="replace")
    lines = [line for line in err.splitlines() if line.strip()]
    check(result.returncode > 0,
          "without a display the exit code is %d (negative: killed by a signal)\n%s" % (result.returncode, err))
    check(len(lines) == 1, "without a display stderr is not one line:\n" + err)
    check("display" in lines[0].lower(), "the message does not say a display is needed: " + lines[0])
    check(any(w in lines[0] for w in ("DISPLAY", "xvfb", "Xvfb", "QT_QPA_PLATFORM")),
          "the message does not say how to give one: " + lines[0])
    step("without a display: exit code %d and one line: %s" % (result.returncode, lines[0]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("scenario", choices=["damaged-resources", "no-audio", "queued-clicks", "no-display"])
    parser.add_argument("--damage", choices=["emptied", "mangled"], default="emptied")
    args = parser.parse_args()
    watchdog(240)
    try:
        if args.scenario == "damaged-resources":
            scenario_damaged_resources(args.program, args.damage)
        elif args.scenario == "no-audio":
            scenario_no_audio(args.program)
        elif args.scenario == "queued-clicks":
            scenario_queued_clicks(args.program)
        else:
            scenario_no_display(args.program)
    except Failure as failure:
        print("FAILED:", failure, flush=True)
        return 1
    print(args.scenario + ": all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
