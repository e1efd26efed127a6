#!/usr/bin/env python3
# test_orca_speech.py: Orca, the screen reader itself, speaks the master's
# messages while the keyboard focus stays on the buttons: the greeting the
# window opens with, the message a key press brings, the one a timer tick
# brings with no key pressed, and one of two lines. What Orca says is read
# from the SPEECH OUTPUT lines of its debug log, which it writes for each
# utterance as it hands it to its speech server (none runs here, so nothing
# sounds).
import os
import re
import subprocess
import sys
import threading
import tty

import desktop_session
from desktop_session import fail, wait_for

desktop_session.in_own_dbus_session()
desktop_session.require(["orca"])
desktop = desktop_session.Desktop()

TIMEOUT = 20
# The filling's first tick comes 6 s after the tap opens.
TICK_TIMEOUT = 6 + TIMEOUT

# Orca writes its debug log through a buffer, flushed only when full,
# unless the log is a terminal: then each line goes out as it is written. So
# the log goes to a pseudo-terminal that the test reads as Orca writes.
log_reader, log_writer = os.openpty()
tty.setraw(log_writer)  # no carriage returns added to Orca's new lines
log_chunks = []


def read_log():
    while True:
        try:
            chunk = os.read(log_reader, 65536)
        except OSError:
            return
        if not chunk:
            return
        log_chunks.append(chunk)


threading.Thread(target=read_log, daemon=True).start()


def spoken():
    """Every utterance Orca has spoken so far, in order."""
    text = b"".join(log_chunks).decode("utf-8", errors="replace")
    # An utterance may run over several lines: up to the closing quote that
    # the voice's settings follow.
    # Orca indents the further lines of an entry under its time stamp.
    text = text.replace("\n" + " " * 18, "\n")
    return re.findall(r"SPEECH OUTPUT: '(.*?)'(?: voice=\w+)?\s*\{", text, re.S)


def says(words):
    return lambda: any(words in utterance for utterance in spoken())


def key(name):
    subprocess.run(["xdotool", "key", name], check=True, timeout=10)


try:
    # A fresh home holds no settings, so Orca starts with its defaults and
    # without its first-run dialogue.
    orca_output = open(os.path.join(desktop.home, "orca.out"), "w+")
    orca = desktop.start_orca(os.ttyname(log_writer), orca_output)
    wait_for(says("Screen reader on."), TIMEOUT, "Orca to start")

    desktop.start_game(sys.argv[1])
    window = desktop.game_window()
    desktop.focus(window)
    wait_for(says("水を入れる push button"), TIMEOUT, "Orca to speak the focused button")
    print("Orca speaks the focused button")
    wait_for(says("さぁ、まずヨポに水を入れましょう。"), TIMEOUT, "Orca to speak the greeting")
    print("Orca speaks the greeting the window opens with")

    key("space")
    wait_for(says("水を入れ始めました。"), TIMEOUT, "Orca to speak the message the tap brings")
    print("Orca speaks the message a key press brings")
    wait_for(says("水を入れています。"), TICK_TIMEOUT, "Orca to speak the filling tick's message")
    print("Orca speaks the message a tick brings")

    key("space")
    wait_for(says("水を入れ終わりました。\n引き続き、湯を沸かしましょう。"), TIMEOUT,
             "Orca to speak both lines of the closing message")
    print("Orca speaks both lines of a two-line message")
    if orca.poll() is not None:
        fail("Orca ended early")
    for utterance in spoken():
        print(f"  Orca said: {utterance!r}")
except SystemExit:
    print("what Orca said:", spoken(), file=sys.stderr)
    orca_output.seek(0)
    print("Orca's own output:", orca_output.read()[-2000:], file=sys.stderr)
    raise
finally:
    desktop.close()

print("Orca speaks every new message")
