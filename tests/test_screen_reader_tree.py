#!/usr/bin/env python3
# test_screen_reader_tree.py: the game as a screen reader finds it on the
# accessibility bus: the window, its buttons as a game changes them, the
# message, the title and the pictures, and the events each new message sends.
# Plays a whole short game by pressing the buttons through their actions.
import sys

import desktop_session
from desktop_session import fail, wait_for

desktop_session.in_own_dbus_session()
desktop = desktop_session.Desktop()

try:
    import pyatspi
    from gi.repository import GLib
except ImportError as error:
    fail(f"{error}; scripts/setup-debian installs python3-pyatspi")

GREETING = "さぁ、まずヨポに水を入れましょう。"
STARTED = "水を入れ始めました。"
CLOSED = "水を入れ終わりました。\n引き続き、湯を沸かしましょう。"
TIMEOUT = 15

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print(f"  not so: {what}", file=sys.stderr)


def pump():
    # Events and cached states arrive through the main loop.
    context = GLib.MainContext.default()
    deadline = GLib.get_monotonic_time() + 50_000
    while GLib.get_monotonic_time() < deadline:
        if not context.iteration(False):
            GLib.usleep(5_000)


def find_game():
    desktop_root = pyatspi.Registry.getDesktop(0)
    for app in desktop_root:
        if app is not None and app.name == "yopo":
            for window in app:
                if window is not None and window.name == desktop_session.CAPTION:
                    return window
    return None


def children(window):
    return [child for child in window if child is not None]


def by_name(window, name):
    return next((child for child in children(window) if child.name == name), None)


def states(accessible):
    return accessible.getState()


def showing(accessible):
    return states(accessible).contains(pyatspi.STATE_SHOWING)


def enabled(accessible):
    return states(accessible).contains(pyatspi.STATE_ENABLED)


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, text.characterCount)


def press(button):
    # Qt names the action "Press"; Orca shows it in lower case.
    action = button.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    if "press" not in names:
        fail(f"{button.name} offers no press action: {names}")
    action.doAction(names.index("press"))


def button_reads(window, name, is_enabled=None, is_showing=True):
    def ready():
        button = by_name(window, name)
        if button is None or button.getRole() != pyatspi.ROLE_PUSH_BUTTON:
            return False
        if is_enabled is not None and enabled(button) != is_enabled:
            return False
        return showing(button) == is_showing
    return ready


heard = []  # (event type, role, text) of what a screen reader was told


def listen(event):
    try:
        role = event.source.getRole()
    except Exception:
        return
    if event.type.startswith("object:text-changed:insert"):
        heard.append(("text inserted", role, event.any_data))
    elif event.type.startswith("object:state-changed:showing") and event.detail1:
        heard.append(("shown", role, event.source.name))


def was_heard(kind, role, text):
    return lambda: (kind, role, text) in heard


pyatspi.Registry.registerEventListener(listen, "object:text-changed:insert",
                                       "object:state-changed:showing")

try:
    game = desktop.start_game(sys.argv[1])
    window = wait_for(find_game, 20, "the game on the accessibility bus", step=pump)

    print("the window and what it shows at first")
    check(window.getRole() == pyatspi.ROLE_FRAME, "the window is a frame")
    tap = wait_for(lambda: by_name(window, "水を入れる"), TIMEOUT, "the tap button", step=pump)
    wait_for(lambda: showing(tap), TIMEOUT, "the window shown", step=pump)
    heat = by_name(window, "沸かす")
    following = by_name(window, "次へ")
    for name, button in (("水を入れる", tap), ("沸かす", heat), ("次へ", following)):
        check(button is not None and button.getRole() == pyatspi.ROLE_PUSH_BUTTON,
              f"{name} is a push button")
    check(enabled(tap) and showing(tap), "水を入れる is enabled and showing")
    check(enabled(heat) and showing(heat), "沸かす is enabled and showing")
    check(not showing(following), "次へ is not showing at first")
    desktop.focus(desktop.game_window())
    wait_for(lambda: states(tap).contains(pyatspi.STATE_FOCUSED), TIMEOUT,
             "水を入れる to have the keyboard focus", step=pump)

    title = by_name(window, "ヨポの達人")
    check(title is not None and title.getRole() == pyatspi.ROLE_LABEL, "the title is a label")
    message = by_name(window, GREETING)
    check(message is not None and message.getRole() == pyatspi.ROLE_LABEL,
          "the message is a label named by the greeting")
    if message is not None:
        check(text_of(message) == GREETING, "the message's text is the greeting")
    for picture in ("ヨポの達人の似顔絵", "ヨポ"):
        found = [c for c in children(window) if c.name == picture and c.getRole() == pyatspi.ROLE_IMAGE]
        check(len(found) == 1, f"the picture {picture} is an image")
    notification = children(window)[-1]
    check(notification.getRole() == pyatspi.ROLE_NOTIFICATION and notification.name == GREETING,
          "the window's notification holds the greeting")
    try:
        extents = notification.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        no_room = extents.width == 0 and extents.height == 0
    except NotImplementedError:  # no place on the screen at all
        no_room = True
    check(no_room, "the notification takes no room on the screen")

    print("the tap opens")
    press(tap)
    wait_for(button_reads(window, "水を止める", is_enabled=True), TIMEOUT,
             "the first button to read 水を止める", step=pump)
    wait_for(button_reads(window, "沸かす", is_enabled=False), TIMEOUT,
             "沸かす disabled", step=pump)
    wait_for(was_heard("text inserted", pyatspi.ROLE_LABEL, STARTED), TIMEOUT,
             "the message's text-changed event", step=pump)
    wait_for(was_heard("shown", pyatspi.ROLE_NOTIFICATION, STARTED), TIMEOUT,
             "the notification shown with the new message", step=pump)
    check(text_of(message) == STARTED, "the message's text is the new message")
    check(message.name == STARTED, "the message's name is the new message")

    print("the tap closes")
    press(by_name(window, "水を止める"))
    wait_for(button_reads(window, "水を止める", is_enabled=False), TIMEOUT,
             "水を止める disabled", step=pump)
    wait_for(button_reads(window, "沸かす", is_enabled=True), TIMEOUT, "沸かす enabled", step=pump)
    wait_for(was_heard("shown", pyatspi.ROLE_NOTIFICATION, CLOSED), TIMEOUT,
             "the two-line message shown", step=pump)
    check(text_of(message) == CLOSED, "a two-line message reads with a plain line break")

    print("heating, judging and the report")
    press(by_name(window, "沸かす"))
    wait_for(button_reads(window, "完了！", is_enabled=True), TIMEOUT, "the button 完了！", step=pump)
    press(by_name(window, "完了！"))
    wait_for(button_reads(window, "次へ", is_showing=True), TIMEOUT, "次へ showing", step=pump)
    judged = text_of(message)
    check(judged not in (STARTED, CLOSED), "judging says something new")
    press(by_name(window, "次へ"))
    wait_for(button_reads(window, "次へ", is_showing=False), TIMEOUT, "次へ hidden again", step=pump)
    report = wait_for(lambda: text_of(message) != judged and text_of(message), TIMEOUT,
                      "the report", step=pump)
    wait_for(was_heard("shown", pyatspi.ROLE_NOTIFICATION, report), TIMEOUT,
             "the report shown as the notification", step=pump)
    print(f"  the report reads: {report!r}")
finally:
    pyatspi.Registry.deregisterEventListener(listen, "object:text-changed:insert",
                                             "object:state-changed:showing")
    desktop.close()

if failures:
    fail(f"{len(failures)} of the checks failed")
print("the screen-reader tree is as the game shows it")
