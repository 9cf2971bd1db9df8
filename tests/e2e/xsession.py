"""A private X server and the tools to drive a program inside it.

Everything here is bounded by timeouts and cleans up after itself: the X
server and every program started through an XSession are killed when the
session ends, whatever happened in between. Only the Python standard library
and the X tools Xvfb, xdotool, xprop, xwd and import are used.
"""

import os
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import time

SCREEN_W, SCREEN_H = 1280, 1024

# Where the board's squares lie in the window's content (640 x 670).
SQUARE_TOPS = [62, 127, 192, 257, 322, 388, 453, 518]
CONTENT_W, CONTENT_H = 640, 670


def square_centre(index):
    col, row = index % 8, index // 8
    return 59 + 65 * col + 32, SQUARE_TOPS[row] + 32


class Failure(Exception):
    """A check that did not hold."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def run_tool(args, timeout=10, env=None, check_rc=True):
    result = subprocess.run(args, capture_output=True, timeout=timeout, env=env)
    if check_rc and result.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(args), result.returncode,
                                              result.stderr.decode(errors="replace").strip()))
    return result


class Image:
    """An RGB picture of the screen, or of a part of it."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return self.data[i], self.data[i + 1], self.data[i + 2]

    def mean(self, x, y, w, h):
        r = g = b = 0
        for yy in range(y, y + h):
            row = (yy * self.width + x) * 3
            chunk = self.data[row:row + w * 3]
            r += sum(chunk[0::3])
            g += sum(chunk[1::3])
            b += sum(chunk[2::3])
        n = w * h
        return r / n, g / n, b / n

    def region(self, x, y, w, h):
        out = bytearray()
        for yy in range(y, y + h):
            row = (yy * self.width + x) * 3
            out += self.data[row:row + w * 3]
        return bytes(out)


def parse_ppm(raw):
    # P6 header: magic, width, height, maxval, each separated by whitespace.
    fields, pos = [], 0
    while len(fields) < 4:
        while raw[pos:pos + 1].isspace():
            pos += 1
        if raw[pos:pos + 1] == b"#":
            pos = raw.index(b"\n", pos) + 1
            continue
        end = pos
        while not raw[end:end + 1].isspace():
            end += 1
        fields.append(raw[pos:end])
        pos = end
    pos += 1
    check(fields[0] == b"P6" and fields[3] == b"255", "unexpected screenshot format")
    width, height = int(fields[1]), int(fields[2])
    return Image(width, height, raw[pos:pos + width * height * 3])


def parse_xwd(raw):
    """A 24/32-bit ZPixmap XWD dump, as `xwd -silent` writes it, as RGB."""
    (header_size, _version, _fmt, depth, width, height, _xoff, _byte_order, _unit, _bit_order,
     _pad, bits_per_pixel, bytes_per_line, _visual, _red_mask, _green_mask, _blue_mask, _bprgb,
     _cmap_entries, ncolors) = struct.unpack(">20I", raw[:80])
    # xwd's bits-per-pixel field is not reliable once clients have changed
    # the colormaps; the line length tells the real pixel size.
    check(depth in (24, 32) and bytes_per_line >= width * 4,
          "unexpected xwd format: depth %d, %d bits per pixel" % (depth, bits_per_pixel))
    pos = header_size + ncolors * 12
    out = bytearray(width * height * 3)
    # Pixels are little-endian words 0x00RRGGBB on an x86 X server.
    for y in range(height):
        row = raw[pos + y * bytes_per_line: pos + y * bytes_per_line + width * 4]
        out[y * width * 3:(y + 1) * width * 3:3] = row[2::4]
        out[y * width * 3 + 1:(y + 1) * width * 3:3] = row[1::4]
        out[y * width * 3 + 2:(y + 1) * width * 3:3] = row[0::4]
    return Image(width, height, bytes(out))


class Program:
    """A program started inside the X session."""

    def __init__(self, session, args, env, name):
        self.session = session
        self.name = name
        self.stdout_path = os.path.join(session.tmp, name + ".out")
        self.stderr_path = os.path.join(session.tmp, name + ".err")
        self.started = time.monotonic()
        self.proc = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL,
                                     stdout=open(self.stdout_path, "wb"),
                                     stderr=open(self.stderr_path, "wb"),
                                     start_new_session=True)
        self.window = None
        self.geometry = None  # x, y, width, height of the top-level window

    @property
    def pid(self):
        return self.proc.pid

    def stderr(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode(errors="replace")

    def alive(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        if self.proc.poll() is None:
            try:
                os.killpg(self.proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.proc.wait(timeout=10)

    def find_window(self, timeout=20, width=None):
        """Waits until the program shows a top-level window; returns its id."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            check(self.alive(), "%s ended before showing a window (exit %s): %s"
                  % (self.name, self.proc.poll(), self.stderr().strip()[-2000:]))
            result = self.session.tool(["xdotool", "search", "--onlyvisible", "--pid",
                                        str(self.pid)], check_rc=False)
            for wid in result.stdout.decode().split():
                geometry = self.session.window_geometry(wid)
                if width is None or geometry[2] == width:
                    self.window, self.geometry = wid, geometry
                    return wid
            time.sleep(0.02)
        raise Failure("%s showed no window within %d s" % (self.name, timeout))

    def refresh_geometry(self):
        self.geometry = self.session.window_geometry(self.window)
        return self.geometry

    def content_origin(self):
        """Screen position of the content's top-left: the content (640 x 670)
        sits at the bottom of the top-level window, under the menu bar."""
        x, y, w, h = self.geometry
        check(w == CONTENT_W and h >= CONTENT_H,
              "the window is %dx%d, not 640 wide and at least 670 high" % (w, h))
        return x, y + h - CONTENT_H


class XSession:
    """Xvfb on a free display, with the programs started inside it."""

    def __init__(self):
        self.tmp = tempfile.mkdtemp(prefix="tovarine-x-")
        self.programs = []
        self.xvfb = None
        self.display = None
        # A runtime folder of the session's own keeps Qt from warning about
        # a missing one on every start.
        self.runtime_dir = os.path.join(self.tmp, "runtime")
        os.mkdir(self.runtime_dir, 0o700)

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def start(self, timeout=15):
        read_fd, write_fd = os.pipe()
        log = open(os.path.join(self.tmp, "xvfb.log"), "wb")
        # -displayfd makes the server take the first free display number
        # itself (lock files decide), so parallel sessions never collide.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % (SCREEN_W, SCREEN_H),
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=log, stderr=log,
            start_new_session=True)
        os.close(write_fd)
        text = b""
        deadline = time.monotonic() + timeout
        while not text.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            ready, _, _ = select.select([read_fd], [], [], max(0.0, remaining))
            if not ready:
                os.close(read_fd)
                raise Failure("Xvfb did not start within %d s" % timeout)
            chunk = os.read(read_fd, 64)
            if not chunk:
                os.close(read_fd)
                raise Failure("Xvfb ended at start-up: see %s" % log.name)
            text += chunk
        os.close(read_fd)
        self.display = ":" + text.decode().strip()
        return self.display

    def close(self):
        for program in self.programs:
            program.kill()
        if self.xvfb and self.xvfb.poll() is None:
            os.killpg(self.xvfb.pid, signal.SIGTERM)
            try:
                self.xvfb.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(self.xvfb.pid, signal.SIGKILL)
                self.xvfb.wait(timeout=5)
        if os.environ.get("TOVARINE_KEEP_LOGS"):
            print("logs kept in", self.tmp)
        else:
            shutil.rmtree(self.tmp, ignore_errors=True)

    def env(self, **overrides):
        env = dict(os.environ)
        for key in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            env.pop(key, None)
        env["DISPLAY"] = self.display
        env["QT_QPA_PLATFORM"] = "xcb"
        env["SDL_AUDIODRIVER"] = "dummy"
        env["XDG_RUNTIME_DIR"] = self.runtime_dir
        for key, value in overrides.items():
            if value is None:
                env.pop(key, None)
            else:
                env[key] = value
        return env

    def tool(self, args, timeout=10, check_rc=True):
        return run_tool(args, timeout=timeout, env=self.env(), check_rc=check_rc)

    def start_program(self, args, name="program", **env):
        program = Program(self, args, self.env(**env), name)
        self.programs.append(program)
        return program

    def window_geometry(self, wid):
        out = self.tool(["xwininfo", "-id", str(wid)]).stdout.decode()
        values = {}
        for line in out.splitlines():
            line = line.strip()
            for key in ("Absolute upper-left X:", "Absolute upper-left Y:", "Width:", "Height:"):
                if line.startswith(key):
                    values[key] = int(line[len(key):].strip())
        return (values["Absolute upper-left X:"], values["Absolute upper-left Y:"],
                values["Width:"], values["Height:"])

    def screenshot(self):
        raw = self.tool(["import", "-window", "root", "-depth", "8", "ppm:-"], timeout=20).stdout
        return parse_ppm(raw)

    def save_screenshot(self, path, x, y, w, h):
        self.tool(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                   "png:" + path], timeout=30)

    def window_shot(self, wid):
        """The window's own pixels (faster than a whole screen)."""
        raw = self.tool(["xwd", "-id", str(wid), "-silent"], timeout=20).stdout
        return parse_xwd(raw)

    # Mouse and keyboard, through the XTEST extension, as a person would.
    def move(self, x, y):
        self.tool(["xdotool", "mousemove", str(x), str(y)])

    def click(self, x, y):
        self.tool(["xdotool", "mousemove", str(x), str(y), "click", "--delay", "0", "1"])

    def click_many(self, points):
        """Clicks at each point in turn, in one xdotool run."""
        args = ["xdotool"]
        for x, y in points:
            args += ["mousemove", str(x), str(y), "click", "--delay", "0", "1"]
        self.tool(args, timeout=60)

    def drag(self, start, end, steps=12, pause=0.02):
        self.tool(["xdotool", "mousemove", str(start[0]), str(start[1]), "mousedown", "1"])
        time.sleep(pause)
        for k in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * k // steps
            y = start[1] + (end[1] - start[1]) * k // steps
            self.tool(["xdotool", "mousemove", str(x), str(y)])
            time.sleep(pause)
        self.tool(["xdotool", "mouseup", "1"])

    def key(self, wid, keys):
        self.tool(["xdotool", "windowfocus", "--sync", str(wid)], check_rc=False)
        self.tool(["xdotool", "key", "--clearmodifiers", keys])

    def window_opacity(self, wid):
        """_NET_WM_WINDOW_OPACITY of the window as a fraction, or None when unset."""
        out = self.tool(["xprop", "-id", str(wid), "_NET_WM_WINDOW_OPACITY"]).stdout.decode()
        if "=" not in out:
            return None
        return int(out.split("=")[1].strip().split(",")[0]) / 0xFFFFFFFF


def watchdog(seconds):
    """Ends the whole script if it runs past `seconds`: the Failure raised in
    the main thread unwinds through the sessions, which kill what they
    started."""

    def expire(_signum, _frame):
        raise Failure("the test ran past its %d s limit" % seconds)

    def terminated(_signum, _frame):
        raise Failure("terminated")

    signal.signal(signal.SIGALRM, expire)
    signal.signal(signal.SIGTERM, terminated)
    signal.signal(signal.SIGHUP, terminated)
    signal.alarm(seconds)
