"""Message boxes as a person sees them, read by box_reader, closed by the pointer."""

from dataclasses import dataclass

from . import xinput
from .session import run_helper


@dataclass(frozen=True)
class MessageBox:
    title: str
    text: str
    icon: str
    buttons: tuple  # (text, centre x, centre y) of each button


def _text(hex_digits):
    return bytes.fromhex(hex_digits).decode("utf-16-le")


def read_box(timeout=30):
    """The message box on the screen; waits for one to appear."""
    code, out, _ = run_helper("box_reader", int(timeout * 1000), timeout=timeout + 60)
    if code != 0:
        raise AssertionError(f"no message box appeared within {timeout} s")
    fields = {}
    buttons = []
    for line in out.splitlines():
        name, _, value = line.strip().partition("=")
        if name == "button":
            text, x, y = value.split(",")
            buttons.append((_text(text), int(x), int(y)))
        else:
            fields[name] = value
    return MessageBox(_text(fields["title"]), _text(fields["text"]), fields["icon"], tuple(buttons))


def _click(button):
    _, x, y = button
    xinput.move(x, y)
    xinput.click()


def close_box(box):
    """Clicks the box's OK button."""
    button, = [button for button in box.buttons if button[0] == "OK"]
    _click(button)


def click_only_button(box):
    """Clicks the box's one button, whatever the language of its text."""
    button, = box.buttons
    _click(button)
