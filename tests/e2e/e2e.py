#!/usr/bin/env python3
"""The built game in a real X server, played as a person plays it: moves are
checked by the discs on screenshots, the opacity slider by the window's
opacity property, the red button and Ctrl+Q by the program's exit.

Usage: e2e.py --program PATH play [SCREENSHOT]
"""

import sys
import time

from xsession import (BLACK, COMPUTER_FIRST, NEW_GAME, RED_BUTTON, START, Game, Session, check, computer_turns,
                      legal_moves, main, show, square)

KNOB, LEFT_OF_TRACK = (596, 32), (470, 32)  # the slider's knob (at 10), and a point past its left end


def play(program, screenshot=None):
    with Session() as session:
        game = Game(session, program)
        game.calibrate()
        check(abs(game.opacity() - 1.0) < 0.01, "the window starts at opacity %.3f" % game.opacity())

        game.click(square(0), square(27), square(63))
        time.sleep(0.6)
        check(game.read() == START, "a click on an illegal or an occupied square changed the board")
        board = game.play_checked(START, 19)  # Black on 19, and the computer's answer
        for _ in range(3):
            board = game.play_checked(board, legal_moves(board, BLACK)[0])
        if screenshot:
            game.save_screenshot(screenshot)

        game.drag(KNOB, LEFT_OF_TRACK)
        time.sleep(0.3)
        check(abs(game.opacity() - 0.2) < 0.002, "the knob at the left end: opacity %.3f" % game.opacity())
        game.click(NEW_GAME)
        check(game.wait_settled(board) == START, "再ゲーム did not restore the start position")
        check(abs(game.opacity() - 0.2) < 0.002, "再ゲーム changed the opacity")

        # "後手" on a fresh game: nothing for about a second, then the computer's opening.
        clicked = time.monotonic()
        game.click(COMPUTER_FIRST)
        time.sleep(0.3)
        check(game.read() == START, "後手: the board changed before its one-second wait was over")
        board = START
        while board == START and time.monotonic() < clicked + 2.5:
            board = game.read()
        changed = time.monotonic() - clicked
        check(board != START, "後手: no opening 2.5 s after the click")
        check(changed >= 0.8, "後手: the computer opened after %.2f s, before its one-second wait" % changed)
        board = game.wait_settled(START)
        check(board in computer_turns(START), "後手: not one opening move of the computer:" + show(board))
        game.play_checked(board, legal_moves(board, BLACK)[0])

        pressed = time.monotonic()
        game.click(RED_BUTTON)
        game.ended("the red button", pressed)

        # A second run, without an audio device: a move plays silently, and
        # Ctrl+Q ends the program.
        game = Game(session, program, SDL_AUDIODRIVER="nonexistent")
        game.calibrate()
        game.play_checked(START, 19)
        err = game.quit()
        check("no audio device" in err and len(err.splitlines()) <= 5,
              "not one warning that the game is silent:\n" + err)


if __name__ == "__main__":
    sys.exit(main({"play": play}, 150))
