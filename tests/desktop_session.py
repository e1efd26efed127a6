# desktop_session.py: a private desktop for the screen-reader tests: its own
# X screen, D-Bus session and accessibility bus, and the game on them.
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

# What each test needs to have on the machine; scripts/setup-debian installs
# all of it, so a missing one fails the test rather than skipping it.
TOOLS = {
    "Xvfb": "xvfb",
    "dbus-run-session": "dbus-daemon",
    "dbus-send": "dbus-bin",
    "xdotool": "xdotool",
    "orca": "orca",
}
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"  # at-spi2-core

# The game's window caption.
CAPTION = "ヨポ"


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def require(tools, paths=()):
    for tool in tools:
        if shutil.which(tool) is None:
            fail(f"{tool} is missing; scripts/setup-debian installs it ({TOOLS.get(tool, tool)})")
    for path in paths:
        if not os.path.exists(path):
            fail(f"{path} is missing; scripts/setup-debian installs it")


def in_own_dbus_session():
    """Runs this script again inside a desktop of its own: a home, an X
    screen on a display number the server picks itself, and a D-Bus session,
    all made before the session starts, so that the services the session
    starts (the accessibility bus among them) live there too and never meet
    another run's. Returns at once when already inside."""
    if "YOPO_PRIVATE_SESSION" in os.environ:
        if os.environ["YOPO_PRIVATE_SESSION"] != str(os.getpid()):
            fail("started inside another test's D-Bus session")
        return
    require(["dbus-run-session", "Xvfb"])
    home = tempfile.mkdtemp(prefix="yopo-desktop-")
    runtime = os.path.join(home, "runtime")
    os.mkdir(runtime, 0o700)
    env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=runtime,
               XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_CACHE_HOME=os.path.join(home, "cache"),
               GSETTINGS_BACKEND="memory")
    for name in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY"):
        env.pop(name, None)

    # -displayfd: the server takes the first free display and tells which.
    read_end, write_end = os.pipe()
    screen = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
    )
    os.close(write_end)
    with os.fdopen(read_end) as reader:
        number = reader.readline().strip()
    try:
        if not number:
            fail("Xvfb did not start")
        env["DISPLAY"] = f":{number}"
        # The shell marks the session with its own process number, which the
        # script keeps when the shell becomes it.
        wrapper = "export YOPO_PRIVATE_SESSION=$$; exec \"$@\""
        completed = subprocess.run(
            ["dbus-run-session", "--", "sh", "-c", wrapper, "sh", sys.executable, *sys.argv],
            env=env, stderr=subprocess.PIPE, text=True,
        )
    finally:
        screen.terminate()
        screen.wait()
        shutil.rmtree(home, ignore_errors=True)
    # The session bus grumbles that it may not raise its file limit; the
    # rest of what went to the error stream is the test's own.
    for line in completed.stderr.splitlines():
        if not re.search(r"Failed to set fd limit|Activating service|Successfully activated", line):
            print(line, file=sys.stderr)
    sys.exit(completed.returncode)


def wait_for(condition, timeout, what, step=None):
    """Waits until condition() is true, calling step() (or sleeping briefly)
    between tries; fails naming `what` once `timeout` seconds have passed."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            fail(f"timed out after {timeout} s waiting for {what}")
        if step is not None:
            step()
        else:
            time.sleep(0.05)


class Desktop:
    """The desktop this script runs in: its home, its X screen and, once
    asked for, the accessibility bus; what it starts ends with the test."""

    def __init__(self):
        require(["xdotool", "dbus-send"], [BUS_LAUNCHER])
        self.processes = []
        self.home = os.environ["HOME"]
        # Asking the session bus for the accessibility bus starts it, and the
        # registry with it, as on a desktop.
        wait_for(self.accessibility_bus, 20, "the accessibility bus")

    def accessibility_bus(self):
        probe = subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.a11y.Bus.GetAddress"],
            capture_output=True, text=True,
        )
        return probe.returncode == 0 and "unix:" in probe.stdout

    def start(self, command, output=subprocess.DEVNULL, **options):
        process = subprocess.Popen(command, stdout=output, stderr=output, **options)
        self.processes.append(process)
        return process

    def start_game(self, binary):
        env = dict(os.environ)
        env["QT_QPA_PLATFORM"] = "xcb"
        # Qt registers on the accessibility bus only when a screen reader is
        # said to be on; the test's own client does not say so.
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        return self.start([binary], env=env)

    def start_orca(self, debug_file, output):
        """Orca, speaking on this desktop only. Its own launcher finds every
        Orca of the same user on the machine by name, and then either stops
        (or, told to replace them, kills them all): the player's own screen
        reader, or another test's. So this runs Orca's launcher with that
        search finding none, under the interpreter's name, not Orca's, so
        that no other Orca finds this one either."""
        launcher = (
            "import runpy, sys\n"
            "orca = runpy.run_path(sys.argv[1], run_name='orca_launcher')\n"
            "orca['main'].__globals__['otherOrcas'] = lambda: []\n"
            "sys.argv = ['orca', '--debug-file=' + sys.argv[2]]\n"
            "sys.exit(orca['main']())\n"
        )
        orca = shutil.which("orca")
        # Orca's own words (roles, "Screen reader on.") in English, whatever
        # the machine's language; the game's are Japanese in any case.
        env = dict(os.environ, LC_ALL="C.UTF-8", LANGUAGE="en")
        return self.start([sys.executable, "-c", launcher, orca, debug_file], output=output,
                          env=env)

    def game_window(self, timeout=20):
        """The X window of the game, once it is mapped."""
        def search():
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{CAPTION}$"],
                                   capture_output=True, text=True)
            return found.stdout.split()[0] if found.returncode == 0 and found.stdout.split() else None
        return wait_for(search, timeout, "the game's window")

    def focus(self, window):
        # No window manager runs here: give the window the keyboard directly,
        # as a window manager would when it activates it.
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=10)

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
