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
    """Runs this script again inside a D-Bus session of its own, unless it
    already is in one that it started."""
    if "YOPO_PRIVATE_SESSION" in os.environ:
        if os.environ["YOPO_PRIVATE_SESSION"] != str(os.getpid()):
            fail("started inside another test's D-Bus session")
        return
    require(["dbus-run-session"])
    env = dict(os.environ)
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    env.pop("AT_SPI_BUS_ADDRESS", None)
    # The shell marks the session with its own process number, which the
    # script keeps when the shell becomes it.
    wrapper = "export YOPO_PRIVATE_SESSION=$$; exec \"$@\""
    completed = subprocess.run(
        ["dbus-run-session", "--", "sh", "-c", wrapper, "sh", sys.executable, *sys.argv],
        env=env, stderr=subprocess.PIPE, text=True,
    )
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
    """An X screen on a display number the server picks itself, a home of
    its own and the accessibility bus, all gone when the test ends."""

    def __init__(self):
        require(["Xvfb", "xdotool", "dbus-send"], [BUS_LAUNCHER])
        self.processes = []
        self.home = tempfile.mkdtemp(prefix="yopo-desktop-")
        runtime = os.path.join(self.home, "runtime")
        os.mkdir(runtime, 0o700)
        os.environ["HOME"] = self.home
        os.environ["XDG_RUNTIME_DIR"] = runtime
        os.environ["XDG_CONFIG_HOME"] = os.path.join(self.home, "config")
        os.environ["XDG_DATA_HOME"] = os.path.join(self.home, "data")
        os.environ["GSETTINGS_BACKEND"] = "memory"
        os.environ.pop("WAYLAND_DISPLAY", None)

        # -displayfd: the server takes the first free display and tells us
        # which, so two runs at once never meet.
        read_end, write_end = os.pipe()
        self.start(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write_end,),
        )
        os.close(write_end)
        with os.fdopen(read_end) as reader:
            number = reader.readline().strip()
        if not number:
            fail("Xvfb did not start")
        os.environ["DISPLAY"] = f":{number}"

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

    def start(self, command, **options):
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   **options)
        self.processes.append(process)
        return process

    def start_game(self, binary):
        env = dict(os.environ)
        env["QT_QPA_PLATFORM"] = "xcb"
        # Qt registers on the accessibility bus only when a screen reader is
        # said to be on; the test's own client does not say so.
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        return self.start([binary], env=env)

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
        shutil.rmtree(self.home, ignore_errors=True)
