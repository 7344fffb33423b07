"""The library's messages as Python exceptions and warnings.

The library reports through one message handler, which this module installs.
A message raised during a call made through checked() is kept for that call:
it becomes the VarnelError when the call fails and a VarnelWarning when it
succeeds. A message raised elsewhere (on the library's own threads) becomes a
VarnelWarning on the thread that raised it.
"""
from __future__ import annotations

import atexit
import threading
import warnings
from typing import Any, Callable

from ._library import MessageHandler, lib


class VarnelError(Exception):
    """A library call failed; the text is the library's message when it gave one."""


class VarnelWarning(UserWarning):
    """The library reported something about a call that still succeeded."""


_pending = threading.local()


def _on_message(text: bytes | None) -> int:
    message = (text or b"").decode("utf-8", "replace")
    messages = getattr(_pending, "messages", None)
    if messages is None:
        warnings.warn(message, VarnelWarning, stacklevel=2)
    else:
        messages.append(message)
    return 1  # OK, the only answer to a message without a choice


def checked(function: Callable[..., Any], *args: Any,
            failed: Callable[[Any], bool] = lambda result: not result,
            otherwise: str = "") -> Any:
    """Calls function(*args) and raises VarnelError when failed(result).

    The error's text is what the library reported meanwhile, else otherwise,
    else the function's name.
    """
    outer = getattr(_pending, "messages", None)
    _pending.messages = messages = []
    try:
        result = function(*args)
    finally:
        _pending.messages = outer
    if failed(result):
        raise VarnelError("\n".join(messages) or otherwise or f"{function.__name__} failed")
    for message in messages:
        warnings.warn(message, VarnelWarning, stacklevel=3)
    return result


# Kept alive for as long as the library may call it.
_handler = MessageHandler(_on_message)
lib.VarnelSetMessageHandler(_handler)
atexit.register(lib.VarnelSetMessageHandler, MessageHandler())  # the default
