"""A private X server (Xvfb) for the built game, the X tools to drive it as a person would (xdotool) and to see it
(import, xprop), and a rules model to check its board against. Everything is bounded by timeouts; the server and
every program started in it are killed when the session ends, whatever happened. Only the standard library is used.
"""

import argparse
import contextlib
import os
import pathlib
import select
import shutil
import signal
import subprocess
import tempfile
import time

SCREEN_W, SCREEN_H = 1280, 1024
CONTENT_W, CONTENT_H = 640, 670
# Controls, in the window's content coordinates: the red button, "後手", "再ゲーム".
RED_BUTTON, COMPUTER_FIRST, NEW_GAME = (30, 25), (434, 623), (537, 623)
SQUARE_TOPS = [62, 127, 192, 257, 322, 388, 453, 518]
# Programs started in a session: no input, no output, a process group of their own (killed with the session).
QUIET = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, start_new_session=True)


def square(i):
    """The centre of square i (row * 8 + column, row 0 at the top)."""
    return 91 + 65 * (i % 8), SQUARE_TOPS[i // 8] + 32


class Failure(Exception):
    """A check that did not hold."""


def check(condition, message):
    if not condition:
        raise Failure(message() if callable(message) else message)


# The rules. A board is a tuple of 64 values: 0 empty, 1 White (the computer), 2 Black (the player).
EMPTY, WHITE, BLACK = 0, 1, 2
START = tuple(WHITE if i in (27, 36) else BLACK if i in (28, 35) else EMPTY for i in range(64))


def flips(board, s, colour):
    out = []
    for dx, dy in ((1, 0), (1, -1), (0, -1), (-1, -1), (-1, 0), (-1, 1), (0, 1), (1, 1)) if board[s] == EMPTY else ():
        run, x, y = [], s % 8 + dx, s // 8 + dy
        while 0 <= x < 8 and 0 <= y < 8 and board[x + 8 * y] == 3 - colour:
            run.append(x + 8 * y)
            x, y = x + dx, y + dy
        if 0 <= x < 8 and 0 <= y < 8 and board[x + 8 * y] == colour:
            out += run
    return out


def legal_moves(board, colour):
    return [s for s in range(64) if flips(board, s, colour)]


def play(board, s, colour):
    turned = set(flips(board, s, colour) + [s])
    return tuple(colour if i in turned else v for i, v in enumerate(board))


def computer_turns(board):
    """Every board the computer's turn can leave, at any strength: it moves, and moves again for as long as the
    player then has no move; without a move it passes."""
    out = set()
    for m in legal_moves(board, WHITE):
        after = play(board, m, WHITE)
        out |= {after} if legal_moves(after, BLACK) else computer_turns(after)
    return out or {board}


def after_click(board, s):
    """Every board a click of the player on square s can leave."""
    return computer_turns(play(board, s, BLACK)) if flips(board, s, BLACK) else {board}


def show(board):
    return "".join(("\n  " if i % 8 == 0 else "") + ".OX"[v] for i, v in enumerate(board))


def distance(a, b):
    return sum(abs(x - y) for x, y in zip(a, b))


def mean(colours):
    return tuple(sum(c) / len(colours) for c in zip(*colours))


class Session:
    """Xvfb on a free display, and the games started in it; with `wm` also a window manager (openbox) and a
    compositor (xcompmgr), as players run it."""

    wm = False  # the default for every session of a run; main() sets it

    def __enter__(self):
        self.tmp = tempfile.mkdtemp(prefix="tovarine-x-")
        self.games, self.helpers = [], []
        os.mkdir(os.path.join(self.tmp, "runtime"), 0o700)
        log = os.path.join(self.tmp, "xvfb.log")
        read_end, write_end = os.pipe()
        # -displayfd: the server takes the first free display (parallel sessions never collide), says which when ready.
        with open(log, "wb") as out:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (SCREEN_W, SCREEN_H),
                 "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                stdout=out, stderr=out, start_new_session=True)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:  # a whole line: the server dies if its newline finds the pipe closed
            number = pipe.readline().strip() if select.select([pipe], [], [], 15)[0] else ""
        if not number:
            message = "Xvfb did not start within 15 s: " + pathlib.Path(log).read_text(errors="replace")[-2000:]
            self.__exit__()
            raise Failure(message)
        self.env = dict(os.environ, DISPLAY=":" + number, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy",
                        XDG_RUNTIME_DIR=os.path.join(self.tmp, "runtime"))
        self.env.pop("WAYLAND_DISPLAY", None)
        if self.wm:
            for name in ("openbox", "xcompmgr"):
                self.helpers.append(subprocess.Popen(name, env=self.env, stderr=subprocess.DEVNULL, **QUIET))
            self.wait_for(lambda: b"_NET_SUPPORTING_WM_CHECK(WINDOW)" in self.tool("xprop", "-root"),
                          "openbox did not take the screen")
            # xcompmgr names the window that holds the compositor's selection.
            self.wait_for(lambda: b'"xcompmgr"' in self.tool("xwininfo", "-root", "-children"),
                          "xcompmgr did not start compositing")
        return self

    def wait_for(self, condition, message, timeout=15):
        """Polls until the condition holds; past the timeout a Failure with the message (or a callable's result)."""
        deadline = time.monotonic() + timeout
        while not condition():
            check(time.monotonic() < deadline,
                  lambda: (message() if callable(message) else message) + " within %g s" % timeout)
            time.sleep(0.05)

    def __exit__(self, *_exc):
        for proc in [game.proc for game in self.games] + self.helpers + [self.xvfb]:
            # The server is asked first, so that it removes its lock file.
            for sig in (signal.SIGTERM, signal.SIGKILL) if proc is self.xvfb else (signal.SIGKILL,):
                if proc.poll() is None:  # not yet reaped: its process group is still ours
                    os.killpg(proc.pid, sig)
                    with contextlib.suppress(subprocess.TimeoutExpired):
                        proc.wait(5)
        shutil.rmtree(self.tmp, ignore_errors=True)

    def tool(self, *args, timeout=10, check_rc=True):
        """Runs an X tool in the session; returns its output."""
        result = subprocess.run(args, env=self.env, capture_output=True, timeout=timeout)
        check(result.returncode == 0 or not check_rc,
              "%s failed: %s" % (" ".join(args), result.stderr.decode(errors="replace")))
        return result.stdout


class Game:
    """The program started in a session and driven in its content's coordinates; calibrated first if `painted`."""

    def __init__(self, session, program, painted=True, **env):
        self.session = session
        self.err_path = os.path.join(session.tmp, "game%d.err" % len(session.games))
        with open(self.err_path, "wb") as err:
            self.proc = subprocess.Popen([program], env=dict(session.env, **env), stderr=err, **QUIET)
        session.games.append(self)
        session.wait_for(self.shown, "the game showed no window", timeout=20)
        if painted:
            self.calibrate()

    def shown(self):
        """Whether the game shows its window; learns which it is and where."""
        self.alive("the game ended at start-up")
        found = self.session.tool("xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid), check_rc=False)
        for self.window in found.decode().split():
            if self.place()[2] == CONTENT_W:
                return True

    def alive(self, otherwise):
        check(self.proc.poll() is None,
              lambda: "%s (exit %s):\n%s" % (otherwise, self.proc.poll(), self.stderr()[-3000:]))

    def place(self):
        """Learns where the window is now (a window manager moves it); returns its x, y, width and height."""
        g = dict(line.split("=") for line in self.session.tool("xdotool", "getwindowgeometry", "--shell",
                                                                self.window).decode().split())
        x, y, w, h = self.geometry = tuple(int(g[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        check(w != CONTENT_W or h >= CONTENT_H, "the window is %dx%d, lower than its content" % (w, h))
        self.origin = x, y + h - CONTENT_H  # the content sits under the menu bar
        return self.geometry

    def stderr(self):
        return pathlib.Path(self.err_path).read_bytes().decode(errors="replace")

    def click(self, *points):
        """Clicks at each point in turn, in one xdotool run."""
        args = ["xdotool"]
        for x, y in points:
            args += ["mousemove", str(self.origin[0] + x), str(self.origin[1] + y), "click", "--delay", "0", "1"]
        self.session.tool(*args, timeout=60)

    def drag(self, start, end, steps=12, first=()):
        """Presses at start, moves in steps to end and releases; `first`: xdotool commands to run with the
        pointer at start before the press."""
        ox, oy = self.origin
        args = ["xdotool", "mousemove", str(ox + start[0]), str(oy + start[1]), *first, "mousedown", "1"]
        for k in range(1, steps + 1):
            args += ["sleep", "0.02", "mousemove", str(ox + start[0] + (end[0] - start[0]) * k // steps),
                     str(oy + start[1] + (end[1] - start[1]) * k // steps)]
        self.session.tool(*args, "sleep", "0.02", "mouseup", "1")

    def opacity(self):
        """_NET_WM_WINDOW_OPACITY of the window as a fraction; 1 when unset."""
        out = self.session.tool("xprop", "-id", self.window, "_NET_WM_WINDOW_OPACITY").decode()
        return int(out.split("=")[1].split(",")[0]) / 0xFFFFFFFF if "=" in out else 1.0

    def screen(self):
        """The screen's pixels as RGB bytes, and where the point x, y of the content starts in them."""
        at = lambda x, y: ((self.origin[1] + y) * SCREEN_W + self.origin[0] + x) * 3
        return self.session.tool("import", "-window", "root", "-depth", "8", "rgb:-", timeout=20), at

    def pixels(self, points):
        """The colours on the screen at points in the content's coordinates."""
        raw, at = self.screen()
        return [tuple(raw[at(x, y):at(x + 1, y)]) for x, y in points]

    def patches(self, half=10):
        """The pixels (RGB bytes) of a square patch 2 * half wide at the centre of each square."""
        raw, at = self.screen()
        return [b"".join(raw[at(x - half, y + dy):at(x + half, y + dy)] for dy in range(-half, half))
                for x, y in map(square, range(64))]

    def means(self):
        """The mean colour of a 20 x 20 patch at the centre of each square."""
        return [tuple(sum(p[c::3]) / 400 for c in range(3)) for p in self.patches()]

    def calibrate(self, timeout=20):
        """Waits until the start position is painted and still, and learns from it the colours of an empty
        square, a White and a Black disc."""
        deadline, previous, means = time.monotonic() + timeout, None, self.means()
        while not (previous and distance(means[27], means[0]) > 60 and max(map(distance, previous, means)) < 3):
            self.alive("the game ended while starting")
            check(time.monotonic() < deadline, "the board was not painted within %d s" % timeout)
            time.sleep(0.15)
            previous, means = means, self.means()
        self.colours = [mean([m for m, v in zip(means, START) if v == EMPTY]), mean([means[27], means[36]]),
                        mean([means[28], means[35]])]
        check(distance(self.colours[BLACK], self.colours[WHITE]) > 90, "Black and White discs look alike")
        check(self.read(means) == START, "the game did not open on the start position:" + show(self.read(means)))

    def read(self, means=None):
        """The board on the screen: each square as the nearest of the three colours."""
        return tuple(min(range(3), key=lambda v: distance(m, self.colours[v])) for m in means or self.means())

    def wait_settled(self, before, timeout=6.0, quiet=0.35):
        """The board once changed from `before` and then still for `quiet` seconds; `before` if it never changed."""
        deadline, last, since = time.monotonic() + timeout, None, None
        while time.monotonic() < deadline:
            board, now = self.read(), time.monotonic()
            if board != last:
                last, since = board, now
            elif board != before and now - since >= quiet:
                break
            time.sleep(0.05)
        return last

    def play_checked(self, board, s):
        """Clicks square s on `board`, checks the result against the rules and returns it."""
        possible = after_click(board, s)
        self.click(square(s))
        after = self.wait_settled(board)
        check(after in possible, "a click on square %d turned%s\ninto%s" % (s, show(board), show(after)))
        return after

    def ended(self, how, since):
        """Checks that the program ended cleanly (exit code 0) within 2 s of `since`; returns its stderr."""
        code = None
        with contextlib.suppress(subprocess.TimeoutExpired):
            code = self.proc.wait(5)
        took, err = time.monotonic() - since, self.stderr()
        check(code == 0, "%s: exit code %s\n%s" % (how, code, err[-3000:]))
        check(took <= 2.0, "%s: the program took %.2f s to end" % (how, took))
        for word in ("Exception", "AddressSanitizer", "runtime error", "Segmentation", "Recursive repaint"):
            check(word not in err, "%s: stderr reports an error:\n%s" % (how, err[-3000:]))
        return err

    def red_button(self):
        """A click on the red button, which must end the program cleanly; returns what it wrote on stderr."""
        pressed = time.monotonic()
        self.click(RED_BUTTON)
        return self.ended("the red button", pressed)

    def quit(self):
        """Ctrl+Q with the pointer over the window and the focus on it."""
        self.alive("the game ended on its own")
        self.session.tool("xdotool", "mousemove", str(self.origin[0] + 320), str(self.origin[1] + 300))
        self.session.tool("xdotool", "windowfocus", "--sync", self.window, check_rc=False)
        pressed = time.monotonic()
        self.session.tool("xdotool", "key", "--clearmodifiers", "ctrl+q")
        return self.ended("Ctrl+Q", pressed)


def main(scenarios, limit):
    """Runs the scenario named on the command line: SCRIPT --program PATH [--wm] SCENARIO [ARG...]. Past `limit`
    seconds, or on SIGTERM or SIGHUP, a Failure unwinds through the sessions, which kill what they started."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--wm", action="store_true", help="under openbox and xcompmgr")
    parser.add_argument("scenario", choices=sorted(scenarios))
    parser.add_argument("args", nargs="*")
    args = parser.parse_args()
    Session.wm = args.wm

    def stop(signum, _frame):
        raise Failure("ran past its %d s limit" % limit if signum == signal.SIGALRM else "terminated")

    for signum in (signal.SIGALRM, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, stop)
    signal.alarm(limit)
    try:
        scenarios[args.scenario](args.program, *args.args)
    except Failure as failure:
        print("FAILED:", failure, flush=True)
        return 1
    print(args.scenario + ": all checks passed" + (" under openbox and xcompmgr" if args.wm else ""))
    return 0
