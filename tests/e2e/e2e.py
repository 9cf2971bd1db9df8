#!/usr/bin/env python3
"""The built game in a real X server, played as a person plays it: moves are checked by the discs on screenshots,
the opacity slider by the window's opacity property (and, under a compositor, by the blend on the screen), the red
button and Ctrl+Q by the program's exit, the window's own moving and minimising by what the X server and the window
manager report.

  play            a game, the slider, "再ゲーム", "後手", the red button, Ctrl+Q
  quits           the red button, again and again (TOVARINE_E2E_QUITS times, 50 unless set)
  closing         the window's sizes while the red button's closing animation runs
  minimise        a double click on the background minimises; the window comes back drawn
  drag            no frame around the window; dragging the background moves it
  held-press      a press that minimises the window is released while it is hidden; back, it hovers and plays as new
  disc-set        "石2" mid-game shows at the next redraw, then on every disc

Usage: e2e.py --program PATH [--wm] SCENARIO [SCREENSHOT]
"""

import os
import sys
import time

from xsession import (BLACK, COMPUTER_FIRST, NEW_GAME, RED_BUTTON, SCREEN_H, SCREEN_W, START, WHITE, Failure, Game,
                      Session, check, computer_turns, distance, legal_moves, main, show, square)

KNOB, LEFT_OF_TRACK = (596, 32), (470, 32)  # the slider's knob (at 10), and a point past its left end
YELLOW_BUTTON = (50, 25)
BACKGROUND, DISC_SET_2 = (30, 300), (280, 631)  # the board's frame left of the squares; "石2"


def play(program, screenshot=None):
    with Session() as session:
        game = Game(session, program)
        check(abs(game.opacity() - 1.0) < 0.01, "the window starts at opacity %.3f" % game.opacity())

        game.click(square(0), square(27), square(63))
        time.sleep(0.6)
        check(game.read() == START, "a click on an illegal or an occupied square changed the board")
        board = game.play_checked(START, 19)  # Black on 19, and the computer's answer
        for _ in range(3):
            board = game.play_checked(board, legal_moves(board, BLACK)[0])
        if screenshot:
            session.tool("import", "-window", "root", "-crop", "%dx%d+%d+%d" % (game.geometry[2:] + game.geometry[:2]),
                         "+repage", "png:" + screenshot, timeout=30)

        # An empty square, and the desktop at the screen's far corner.
        opaque = game.pixels([(91, 94), (SCREEN_W - 1 - game.origin[0], SCREEN_H - 1 - game.origin[1])])
        game.drag(KNOB, LEFT_OF_TRACK)
        time.sleep(0.3)
        check(abs(game.opacity() - 0.2) < 0.002, "the knob at the left end: opacity %.3f" % game.opacity())
        if session.wm:  # the compositor shows the square as 0.2 of itself over 0.8 of the desktop
            blend = tuple(0.2 * a + 0.8 * b for a, b in zip(*opaque))
            session.wait_for(lambda: distance(game.pixels([(91, 94)])[0], blend) < 15, lambda:
                             "at opacity 0.2 the square %s over the desktop %s is not shown as %s but as %s"
                             % tuple(opaque + [blend, game.pixels([(91, 94)])[0]]), timeout=5)
            game.drag((516, 32), (640, 32))  # the knob, now at the left end, to the right: opaque again
            time.sleep(0.3)
            check(abs(game.opacity() - 1.0) < 0.002, "the knob at the right end: opacity %.3f" % game.opacity())
        level = game.opacity()
        game.click(NEW_GAME)
        check(game.wait_settled(board) == START, "再ゲーム did not restore the start position")
        check(game.opacity() == level, "再ゲーム changed the opacity")

        # "後手" on a fresh game: the start position for a second, then at once the computer's opening, painted after
        # the start of the last read that showed the start position and before the end of the first that did not.
        clicked = time.monotonic()
        game.click(COMPUTER_FIRST)
        board, unchanged = START, clicked
        while board == START and time.monotonic() < clicked + 2.5:
            began, board = time.monotonic(), game.read()
            unchanged = began if board == START else unchanged
        opened = time.monotonic() - clicked
        check(board != START, "後手: no opening 2.5 s after the click")
        check(opened >= 0.85 and unchanged - clicked <= 1.5, "後手: the computer opened between %.2f and %.2f s after "
              "the click, not after its one-second wait" % (unchanged - clicked, opened))
        board = game.wait_settled(START)
        check(board in computer_turns(START), "後手: not one opening move of the computer:" + show(board))
        game.play_checked(board, legal_moves(board, BLACK)[0])

        game.red_button()

        # A second run, without an audio device: a move plays silently, and Ctrl+Q ends the program.
        game = Game(session, program, SDL_AUDIODRIVER="nonexistent")
        game.play_checked(START, 19)
        err = game.quit()
        check("no audio device" in err and len(err.splitlines()) <= 5,
              "not one warning that the game is silent:\n" + err)


def quits(program):
    """Every press on the red button ends the program cleanly; the failures of all the runs are counted, then
    reported with the first one."""
    count, failures = int(os.environ.get("TOVARINE_E2E_QUITS", "50")), []
    with Session() as session:
        for _ in range(count):
            game = Game(session, program)
            try:
                game.red_button()
            except Failure as failure:
                failures.append(str(failure))
    check(not failures, lambda: "%d of %d quits failed; the first: %s" % (len(failures), count, failures[0]))


def closing(program):
    """The window's geometry, read every few milliseconds from the press on the red button on, goes through several
    sizes before the window goes."""
    with Session() as session:
        for _ in range(3):
            game = Game(session, program)
            x, y = game.origin
            args = ["xdotool", "mousemove", str(x + RED_BUTTON[0]), str(y + RED_BUTTON[1]), "click", "1"]
            pressed = time.monotonic()
            out = session.tool(*args + ["getwindowgeometry", game.window, "sleep", "0.004"] * 150, timeout=30,
                               check_rc=False).decode()  # stops at the first read after the window has gone
            game.ended("the red button", pressed)
            own = "  Geometry: %dx%d" % game.geometry[2:]
            sizes = {line for line in out.splitlines() if "Geometry:" in line} - {own}
            check(len(sizes) >= 4, "the closing animation showed %d sizes besides the window's own, not 3 or more"
                  " on the way to its end: %s" % (len(sizes), sorted(sizes)))


def minimise(program):
    """A double click on the background minimises the window (only a window manager can show that); it comes back
    where it was, drawn as before."""
    with Session() as session:
        game = Game(session, program)
        before, where = game.patches(), game.place()
        x, y = (o + c for o, c in zip(game.origin, BACKGROUND))
        # The pointer rests on the spot first, as a person's does.
        session.tool("xdotool", "mousemove", str(x), str(y), "sleep", "0.3", "click", "--repeat", "2", "--delay",
                     "150", "1")
        if session.wm:
            iconic = lambda: b"Iconic" in session.tool("xprop", "-id", game.window, "WM_STATE")
            session.wait_for(iconic, "a double click on the background did not minimise the window", timeout=5)
            session.tool("xdotool", "windowactivate", game.window, check_rc=False)
            session.wait_for(lambda: not iconic(), "the minimised window did not come back", timeout=5)
        session.wait_for(lambda: game.patches() == before, "the window was not drawn as before", timeout=5)
        check(game.place() == where, "the window moved from %s to %s" % (where, game.geometry))
        check(game.proc.poll() is None, "the game ended:\n" + game.stderr())


def held_press(program):
    """The board's wood pressed twice quickly, the second press held: the window minimises on it, and the button comes
    up while the window is hidden. Once back, the red and yellow buttons show their hover faces only under the
    pointer, and the first click is a move like any other."""
    with Session() as session:
        game = Game(session, program)
        at = lambda point: [str(o + c) for o, c in zip(game.origin, point)]
        faces = lambda: game.pixels([RED_BUTTON, YELLOW_BUTTON])
        plain = faces()
        session.tool("xdotool", "mousemove", *at(BACKGROUND), "sleep", "0.3", "click", "1", "sleep", "0.15",
                     "mousedown", "1")
        iconic = lambda: b"Iconic" in session.tool("xprop", "-id", game.window, "WM_STATE")
        if session.wm:
            session.wait_for(iconic, "the second press on the background did not minimise the window", timeout=5)
        session.tool("xdotool", "mousemove", *at((BACKGROUND[0] + 200, BACKGROUND[1] + 60)), "sleep", "0.1",
                     "mouseup", "1")
        if session.wm:
            session.tool("xdotool", "windowactivate", game.window, check_rc=False)
            session.wait_for(lambda: not iconic(), "the minimised window did not come back", timeout=5)
        game.place()
        for point, hovered in ((square(27), None), (RED_BUTTON, 0), (YELLOW_BUTTON, 1), (square(27), None)):
            session.tool("xdotool", "mousemove", *at(point), "sleep", "0.05", "mousemove", *at(point))
            want = lambda now: all((distance(a, b) > 60) == (k == hovered) for k, (a, b) in enumerate(zip(now, plain)))
            session.wait_for(lambda: want(faces()), lambda: "with the pointer on %s after the window came back, the"
                             " red and yellow buttons show %s (plain: %s)" % (point, faces(), plain), timeout=3)
        game.play_checked(START, 19)


def drag(program):
    """The window has no title bar and no border; a drag on its background moves it, also right after a click there
    (past the double-press time)."""
    with Session() as session:
        game = Game(session, program)
        tree = session.tool("xwininfo", "-tree", "-id", game.window).decode()
        parent = tree.split("Parent window id: ")[1].split()[0]
        hints = session.tool("xprop", "-id", game.window, "_MOTIF_WM_HINTS").decode().split("= ")[-1].split(", ")
        check(int(hints[0], 16) & 2 and int(hints[2], 16) == 0, "the window does not ask for no decorations")
        if session.wm:
            extents = session.tool("xprop", "-id", game.window, "_NET_FRAME_EXTENTS").decode()
            check(extents.endswith("= 0, 0, 0, 0\n"), "the window manager frames the window: " + extents)
        if parent != tree.split("Root window id: ")[1].split()[0]:  # the window manager's frame
            frame = session.tool("xdotool", "getwindowgeometry", parent).decode().split("Position: ")[1]
            mine = session.tool("xdotool", "getwindowgeometry", game.window).decode().split("Position: ")[1]
            check(frame == mine, "the frame is at %s, the window's content at %s" % (frame, mine))
        rest = ["sleep", "0.3"]  # the pointer rests on the spot before the press, as a person's does
        for first, offset in ((rest, (40, 30)), (rest + ["click", "1", "sleep", "0.6"], (-25, 35))):
            x0, y0 = game.place()[:2]
            game.drag(BACKGROUND, [c + d for c, d in zip(BACKGROUND, offset)], 10, first)
            session.wait_for(lambda: game.place()[:2] == (x0 + offset[0], y0 + offset[1]), lambda: "a drag by %s after"
                             " '%s' moved the window from %s to %s" % (offset, " ".join(first), (x0, y0),
                                                                       game.geometry[:2]), timeout=3)
        if session.wm:
            check(b"Normal" in session.tool("xprop", "-id", game.window, "WM_STATE"), "the window was minimised")

def disc_set(program):
    """"石2" chosen mid-game changes no disc until the next move redraws the board; then every disc shows the set's
    picture."""
    with Session() as session:
        game = Game(session, program)
        first = game.patches(16)
        board = game.play_checked(START, 19)
        shown = game.patches(16)
        game.click(DISC_SET_2)
        time.sleep(1.0)
        check(game.patches(16) == shown, "choosing 石2 changed the board on the screen before the next move")
        board = game.play_checked(board, legal_moves(board, BLACK)[0])
        now, same = game.patches(16), lambda a, b: sum(abs(p - q) for p, q in zip(a, b)) < 3 * len(a)
        for colour, old in ((WHITE, first[27]), (BLACK, first[28])):
            discs = [now[i] for i in range(64) if board[i] == colour]
            check(all(same(d, discs[0]) and not same(d, old) for d in discs),
                  "after 石2 and a move, not every %s disc shows the new picture" % ("", "White", "Black")[colour])


if __name__ == "__main__":
    sys.exit(main({"play": play, "quits": quits, "closing": closing, "minimise": minimise, "drag": drag,
                   "held-press": held_press, "disc-set": disc_set}, 150))
