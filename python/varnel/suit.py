"""Suits on the network: finding them, opening one and taking its frames.

The library listens on one UDP port for the whole process: find_suits()
opens it on first use, and finish() (also leaving a Suit's with-block)
closes it with every suit.
"""
from __future__ import annotations

import atexit
import ctypes
import math
import queue
import threading
import time
from ctypes import byref, c_uint16
from typing import Iterator, Optional

from ._library import FrameCallback, TimeoutCallback, lib
from .errors import VarnelError, checked
from .records import NUM_RAW_CHANNELS, ActorData, SkeletonFrame, SuitInfo

_lock = threading.Lock()
_initialised = False
# Suits opened since the last finish(): the library may call their frame
# callbacks until then, so the callback objects must live as long.
_open_suits: list[Suit] = []


def find_suits() -> list[SuitInfo]:
    """Listens for one second and returns the suits heard, sorted by address.

    Raises VarnelError when the suit port cannot be opened or a suit is open.
    """
    global _initialised
    with _lock:
        if not _initialised:
            checked(lib.VarnelInit, otherwise="the suit port cannot be opened")
            _initialised = True
    count = checked(lib.VarnelFindSuits, failed=lambda n: n < 0,
                    otherwise="the suits cannot be searched while one is open")
    suits = []
    for index in range(count):
        info = SuitInfo()
        if lib.VarnelEnumerateSuitInfo(index, byref(info)):
            suits.append(info)
    return suits


def finish() -> None:
    """Closes every suit and the suit port; no frame arrives after it."""
    global _initialised
    with _lock:
        lib.VarnelFinish()
        _initialised = False
        for suit in _open_suits:
            suit._closed()
        _open_suits.clear()


atexit.register(finish)


def open_suit(info: Optional[SuitInfo] = None, max_queued: int = 0) -> Suit:
    """Opens the suit that info names (the first one not open when None)."""
    return Suit(info, max_queued)


class Suit:
    """An open suit whose frames wait in a queue until taken.

    The library calibrates the suit on its first datagram after the open: the
    wearer stands in the null pose then. With max_queued > 0, frames that
    arrive while that many wait are lost (counted in frames_lost). As a
    context manager, leaving the block calls finish().
    """

    def __init__(self, info: Optional[SuitInfo] = None, max_queued: int = 0) -> None:
        self._queue: queue.Queue[Optional[SkeletonFrame]] = queue.Queue()
        self._max_queued = max_queued
        self.frames_lost = 0
        self._on_frame = FrameCallback(self._receive)
        with _lock:
            handle = lib.VarnelOpen(None if info is None else byref(info), self._on_frame,
                                    TimeoutCallback())
            if not handle:
                raise VarnelError("no suit to open" if info is None else f"no suit {info} to open")
            self._handle: Optional[int] = handle
            _open_suits.append(self)
        self.info = SuitInfo()
        lib.VarnelGetSuitInfo(handle, byref(self.info))

    # Runs on the library's receive thread with its lock held: copy, queue
    # and return, calling nothing of the library.
    def _receive(self, pose: ctypes._Pointer, _handle: int) -> None:
        if self._max_queued and self._queue.qsize() >= self._max_queued:
            self.frames_lost += 1
            return
        self._queue.put(SkeletonFrame.from_buffer_copy(pose.contents))

    def _closed(self) -> None:
        self._handle = None
        self._queue.put(None)

    def __enter__(self) -> Suit:
        return self

    def __exit__(self, *exc_info: object) -> None:
        finish()

    def close(self) -> None:
        """Stops this suit's frames; the iterators end after those queued."""
        with _lock:
            if self._handle is not None:
                lib.VarnelClose(self._handle)
                self._closed()

    def frames(self, seconds: Optional[float] = None,
               timeout: float = 5.0) -> Iterator[SkeletonFrame]:
        """Yields frames as they arrive, for seconds (None: until closed).

        Raises TimeoutError when none arrives for timeout seconds.
        """
        end = math.inf if seconds is None else time.monotonic() + seconds
        while True:
            left = end - time.monotonic()
            if left <= 0:
                return
            try:
                frame = self._queue.get(timeout=min(timeout, left))
            except queue.Empty:
                if time.monotonic() >= end:
                    return
                raise TimeoutError(f"no frame from suit {self.info} for {timeout:g} s") from None
            if frame is None:
                self._queue.put(None)  # for the other iterators
                return
            yield frame

    __iter__ = frames

    def _valid(self) -> int:
        if self._handle is None:
            raise VarnelError(f"suit {self.info} is closed")
        return self._handle

    @property
    def frame_rate(self) -> float:
        return lib.VarnelGetFrameRate(self._valid())

    @property
    def dropped(self) -> int:
        """Datagrams the library overwrote before it could solve them."""
        return lib.VarnelGetDropped(self._valid())

    @property
    def actor(self) -> ActorData:
        actor = ActorData()
        lib.VarnelGetActorData(self._valid(), byref(actor))
        return actor

    @actor.setter
    def actor(self, actor: ActorData) -> None:
        lib.VarnelSetActorData(self._valid(), byref(actor))
        if self.actor != actor:
            raise VarnelError("the actor was refused: a value is not finite or beyond 1e6")

    def raw(self) -> tuple[int, ...]:
        """The potentiometer counts last received."""
        channels = (c_uint16 * NUM_RAW_CHANNELS)()
        lib.VarnelGetRaw(self._valid(), channels)
        return tuple(channels)

    def read(self) -> SkeletonFrame:
        """Solves the latest datagram into a frame, whether or not frames are queued."""
        frame = SkeletonFrame()
        checked(lib.VarnelRead, self._valid(), byref(frame),
                otherwise=f"suit {self.info} has sent nothing")
        return frame

    def set_null(self) -> None:
        """Calibrates on the current datagram: the wearer stands in the null pose."""
        lib.VarnelSetNull(self._valid())

    def enable_position_sensor(self, enable: bool = True) -> None:
        lib.VarnelEnablePositionSensor(self._valid(), int(enable))
