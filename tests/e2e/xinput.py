"""Real X input, as a person gives it: pointer moves, the left button, keys.

With no window manager, X keyboard focus follows the pointer: keys go to the window under it."""

import subprocess


def xdotool(*arguments):
    subprocess.run(["xdotool", *map(str, arguments)], check=True, timeout=30)


def move(x, y):
    xdotool("mousemove", x, y)


def press():
    xdotool("mousedown", 1)


def release():
    xdotool("mouseup", 1)


def click():
    xdotool("click", 1)


def key(name):
    xdotool("key", name)


def glide(start, end, steps=6):
    """Moves the pointer from start to end through evenly spaced points, end included."""
    for i in range(1, steps + 1):
        move(start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps)


def windows_of_process(pid):
    """The visible X windows that the process made."""
    done = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                          capture_output=True, timeout=30)
    return [int(line) for line in done.stdout.split()]


def geometry(window):
    """(x, y, width, height) of an X window, from xwininfo."""
    text = subprocess.run(["xwininfo", "-id", str(window)], capture_output=True, text=True,
                          timeout=30).stdout
    fields = {}
    for line in text.splitlines():
        name, _, value = line.strip().partition(":")
        fields[name] = value.strip()
    try:
        return (int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                int(fields["Width"]), int(fields["Height"]))
    except (KeyError, ValueError):
        return None
