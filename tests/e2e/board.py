"""The board as the screen shows it, and the rules to check it against.

A board is a tuple of 64 values: 0 empty, 1 White (the computer), 2 Black
(the player); square index = row * 8 + column, row 0 at the top.
"""

import time

from xsession import Failure, check, square_centre

EMPTY, WHITE, BLACK = 0, 1, 2
START = tuple(WHITE if i in (27, 36) else BLACK if i in (28, 35) else EMPTY for i in range(64))
DIRECTIONS = [(1, 0), (1, -1), (0, -1), (-1, -1), (-1, 0), (-1, 1), (0, 1), (1, 1)]


def flips(board, square, colour):
    if board[square] != EMPTY:
        return []
    other = WHITE if colour == BLACK else BLACK
    out = []
    x0, y0 = square % 8, square // 8
    for dx, dy in DIRECTIONS:
        run, x, y = [], x0 + dx, y0 + dy
        while 0 <= x < 8 and 0 <= y < 8 and board[x + 8 * y] == other:
            run.append(x + 8 * y)
            x, y = x + dx, y + dy
        if run and 0 <= x < 8 and 0 <= y < 8 and board[x + 8 * y] == colour:
            out += run
    return out


def legal_moves(board, colour):
    return [s for s in range(64) if flips(board, s, colour)]


def play(board, square, colour):
    b = list(board)
    for s in flips(board, square, colour) + [square]:
        b[s] = colour
    return tuple(b)


def computer_turns(board):
    """Every board the computer's turn can leave (any strength): it moves,
    and moves again while the player has no move and it has one."""
    moves = legal_moves(board, WHITE)
    if not moves:
        return {board}
    out = set()
    for m in moves:
        nxt = play(board, m, WHITE)
        if legal_moves(nxt, BLACK) or not legal_moves(nxt, WHITE):
            out.add(nxt)
        else:
            out |= computer_turns(nxt)
    return out


def after_click(board, square):
    """Every board a click of the player on `square` can leave."""
    if not flips(board, square, BLACK):
        return {board}
    mine = play(board, square, BLACK)
    if EMPTY not in mine:
        return {mine}
    return computer_turns(mine)


def counts(board):
    return board.count(BLACK), board.count(WHITE)


def show(board):
    rows = ["".join(".OX"[board[r * 8 + c]] for c in range(8)) for r in range(8)]
    return "\n  " + "\n  ".join(rows)


def distance(a, b):
    return sum(abs(x - y) for x, y in zip(a, b))


class ScreenBoard:
    """Reads the board off screenshots of the running game.

    Calibrated on the start position: each square's own empty colour, and
    the colours of a Black and a White disc from the four centre squares.
    Every square is then read as the nearest of its three colours.
    """

    PATCH = 20  # side of the sampled patch at each square's centre

    def __init__(self, session, program):
        self.session = session
        self.program = program
        self.origin = program.content_origin()
        self.empty = None
        self.black = None
        self.white = None

    def means(self, image):
        ox, oy = self.origin
        half = self.PATCH // 2
        out = []
        for i in range(64):
            cx, cy = square_centre(i)
            out.append(image.mean(ox + cx - half, oy + cy - half, self.PATCH, self.PATCH))
        return out

    def wait_painted(self, timeout=20):
        """Waits until the board is drawn and still: two screenshots in a
        row with the same, not uniform, square colours."""
        deadline = time.monotonic() + timeout
        previous = None
        while time.monotonic() < deadline:
            check(self.program.alive(), "the game ended while starting: " + self.program.stderr()[-2000:])
            means = self.means(self.session.screenshot())
            spread = max(distance(means[27], m) for m in means)
            if previous is not None and spread > 60 and max(
                    distance(a, b) for a, b in zip(previous, means)) < 3:
                return means
            previous = means
            time.sleep(0.15)
        raise Failure("the board was not painted within %d s" % timeout)

    def calibrate(self, means):
        self.black = [(a + b) / 2 for a, b in zip(means[28], means[35])]
        self.white = [(a + b) / 2 for a, b in zip(means[27], means[36])]
        empties = [means[i] for i in range(64) if START[i] == EMPTY]
        average = [sum(c) / len(empties) for c in zip(*empties)]
        self.empty = [average if START[i] != EMPTY else means[i] for i in range(64)]
        check(distance(self.black, self.white) > 90,
              "Black and White discs look alike: %s vs %s" % (self.black, self.white))
        for i in (27, 28, 35, 36):
            check(distance(means[i], average) > 90, "square %d shows no disc" % i)
        check(self.read_means(means) == START, "the game did not open on the start position:" +
              show(self.read_means(means)))

    def read_means(self, means):
        board = []
        for i, m in enumerate(means):
            d = [distance(m, self.empty[i]), distance(m, self.white), distance(m, self.black)]
            board.append(d.index(min(d)))
        return tuple(board)

    def read(self):
        return self.read_means(self.means(self.session.screenshot()))

    def wait_settled(self, before, timeout=6.0, quiet=0.35):
        """The board once it has changed from `before` and then stayed the
        same for `quiet` seconds; `before` again if it never changed."""
        deadline = time.monotonic() + timeout
        last, since = None, None
        while time.monotonic() < deadline:
            board = self.read()
            now = time.monotonic()
            if board != last:
                last, since = board, now
            elif board != before and now - since >= quiet:
                return board
            time.sleep(0.05)
        return last

    def click_square(self, square):
        ox, oy = self.origin
        cx, cy = square_centre(square)
        self.session.click(ox + cx, oy + cy)

    def click_at(self, x, y):
        ox, oy = self.origin
        self.session.click(ox + x, oy + y)

    def play_checked(self, board, square):
        """Clicks `square` on `board` and checks the result against the
        rules; returns the new board."""
        possible = after_click(board, square)
        self.click_square(square)
        if possible == {board}:
            time.sleep(0.6)
            after = self.read()
        else:
            after = self.wait_settled(board)
        check(after in possible, "a click on square %d turned%s\ninto%s" % (square, show(board), show(after)))
        return after
