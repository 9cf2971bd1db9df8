#!/usr/bin/env python3
"""The built game in a real X server, played as a person plays it.

Starts Xvfb on a free display, starts the bundle's program, and drives it
with the mouse and keyboard through xdotool: moves are checked by the discs
on screenshots, the opacity slider by the window's opacity property, the
red button and Ctrl+Q by the program's exit.

Usage: e2e.py --program PATH [--screenshot PNG]
"""

import argparse
import sys
import time

from board import BLACK, START, ScreenBoard, computer_turns, counts, legal_moves, show
from xsession import Failure, XSession, check, watchdog

# Controls, in the window's content coordinates.
RED_BUTTON = (30, 25)
COMPUTER_FIRST = (434, 623)   # "後手"
NEW_GAME = (537, 623)         # "再ゲーム"
KNOB = (506 + 80 + 10, 22 + 10)
TRACK_LEFT_BEYOND = (470, 32)


def start_game(session, program_path, name):
    program = session.start_program([program_path], name)
    program.find_window(width=640)
    screen = ScreenBoard(session, program)
    screen.calibrate(screen.wait_painted())
    return program, screen


def step(text):
    print("ok:", text, flush=True)


def play_session(session, program_path, screenshot_path):
    program, screen = start_game(session, program_path, "game")
    step("the window opens on the start position (%dx%d at %d,%d)" % (
        program.geometry[2], program.geometry[3], program.geometry[0], program.geometry[1]))

    opacity = session.window_opacity(program.window)
    check(opacity is None or abs(opacity - 1.0) < 0.01, "the window starts at opacity %s" % opacity)

    board = START
    for square in (0, 27, 63):
        board = screen.play_checked(board, square)
        check(board == START, "a click on square %d changed the board" % square)
    step("clicks on an illegal square and an occupied one change nothing")

    board = screen.play_checked(board, 19)
    check(board[19] == BLACK and board != START and counts(board)[1] >= 2,
          "no Black disc on 19 with a White answer:" + show(board))
    step("a legal click places Black on 19 and the computer answers in the same click:" + show(board))

    for _ in range(3):
        moves = legal_moves(board, BLACK)
        if not moves:
            break
        board = screen.play_checked(board, moves[len(moves) // 2])
    step("three more moves follow the rules:" + show(board))
    if screenshot_path:
        x, y, w, h = program.refresh_geometry()
        session.save_screenshot(screenshot_path, x, y, w, h)
        step("screenshot of the game in progress kept in " + screenshot_path)

    ox, oy = screen.origin
    session.drag((ox + KNOB[0], oy + KNOB[1]), (ox + TRACK_LEFT_BEYOND[0], oy + TRACK_LEFT_BEYOND[1]))
    time.sleep(0.3)
    opacity = session.window_opacity(program.window)
    check(opacity is not None and abs(opacity - 0.2) < 0.002,
          "after dragging the knob to the left end the opacity is %s, not 0.2" % opacity)
    step("dragging the slider's knob to the left end sets the opacity to 0.2")

    screen.click_at(*NEW_GAME)
    board = screen.wait_settled(board)
    check(board == START, "再ゲーム did not restore the start position:" + show(board))
    check(abs(session.window_opacity(program.window) - 0.2) < 0.002, "再ゲーム changed the opacity")
    step("再ゲーム restores the start position and keeps the opacity")

    screen.click_at(*COMPUTER_FIRST)
    clicked = time.monotonic()
    time.sleep(max(0.0, clicked + 0.3 - time.monotonic()))
    check(screen.read() == START, "後手: the board changed before the one-second wait was over")
    board = START
    while time.monotonic() < clicked + 2.5 and board == START:
        board = screen.read()
        changed = time.monotonic() - clicked
        time.sleep(0.05)
    check(board != START, "後手: the computer had not opened 2.5 s after the click")
    board = screen.wait_settled(START)
    check(board in computer_turns(START) and counts(board) == (1, 4),
          "後手: not one opening move of the computer:" + show(board))
    check(changed >= 0.8, "後手: the computer opened after %.2f s, before its one-second wait" % changed)
    step("後手 on a fresh game: unchanged at 0.3 s, the computer's opening after %.2f s" % changed)

    board = screen.play_checked(board, legal_moves(board, BLACK)[0])
    step("the player moves after the computer's opening")

    screen.click_at(*RED_BUTTON)
    clicked = time.monotonic()
    code = program.wait_exit(5)
    took = time.monotonic() - clicked
    check(code == 0, "the red button: exit code %s" % code)
    check(took <= 2.0, "the red button: the program took %.2f s to end" % took)
    step("the red button ends the program with exit code 0 in %.2f s" % took)
    check("Exception" not in program.stderr(), "errors on stderr:\n" + program.stderr())


def quit_session(session, program_path):
    program, _screen = start_game(session, program_path, "game-ctrl-q")
    session.move(program.geometry[0] + 320, program.geometry[1] + 300)
    session.key(program.window, "ctrl+q")
    pressed = time.monotonic()
    code = program.wait_exit(5)
    took = time.monotonic() - pressed
    check(code == 0, "Ctrl+Q: exit code %s" % code)
    check(took <= 2.0, "Ctrl+Q: the program took %.2f s to end" % took)
    step("Ctrl+Q ends the program with exit code 0 in %.2f s" % took)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--screenshot")
    args = parser.parse_args()
    watchdog(150)
    try:
        with XSession() as session:
            play_session(session, args.program, args.screenshot)
        with XSession() as session:
            quit_session(session, args.program)
    except Failure as failure:
        print("FAILED:", failure, flush=True)
        return 1
    print("e2e: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
