"""Takes: an actor's skeleton with its frames, and where a frame puts the nodes."""
from __future__ import annotations

import weakref
from ctypes import byref
from typing import Any, Iterator, Optional, Union

from ._library import lib
from .errors import checked
from .records import NUM_NODES, ActorData, Skeleton, SkeletonFrame

Positions = Union[list[tuple[float, float, float]], Any]  # Any: a numpy array


def default_actor() -> ActorData:
    """The library's built-in actor."""
    actor = ActorData()
    lib.VarnelGetActorData(None, byref(actor))
    return actor


class Take:
    """A skeleton shaped by an actor, and a sequence of frames for it.

    The frames are memory of the library's; the take frees it when collected.
    Only one thread may use a take at a time.
    """

    def __init__(self, actor: Optional[ActorData] = None, frame_time: float = 1 / 60) -> None:
        self.record = Skeleton()
        record = self.record
        checked(lib.VarnelInitSkeleton, byref(record), failed=lambda _: record.numFrames == 0)
        self._free = weakref.finalize(self, lib.VarnelFreeSkeletonFrames, byref(record))
        lib.VarnelFreeSkeletonFrames(byref(record))  # the rest frame is no part of a take
        lib.VarnelCopyActorToSkeleton(byref(record), None if actor is None else byref(actor))
        record.frameTime = frame_time

    @property
    def frame_time(self) -> float:
        """Seconds per frame."""
        return self.record.frameTime

    @frame_time.setter
    def frame_time(self, seconds: float) -> None:
        self.record.frameTime = seconds

    @property
    def node_names(self) -> list[str]:
        return [node.name.decode("latin-1") for node in self.record.nodes]

    def __len__(self) -> int:
        return self.record.numFrames

    def __getitem__(self, index: int) -> SkeletonFrame:
        """A copy of the frame."""
        if not -len(self) <= index < len(self):
            raise IndexError("take index out of range")
        return SkeletonFrame.from_buffer_copy(self.record.frames[index % len(self)])

    def __iter__(self) -> Iterator[SkeletonFrame]:
        return (self[index] for index in range(len(self)))

    def append(self, frame: SkeletonFrame) -> None:
        if not lib.VarnelAddFrame(byref(self.record)):
            raise MemoryError("no memory for another frame")
        self.record.frames[self.record.numFrames - 1] = frame

    def world_positions(self, frame: SkeletonFrame, as_numpy: bool = False,
                        zero_position: bool = False, zero_angles: bool = False) -> Positions:
        """Where the frame puts each node (in Node order), in inches.

        A list of (x, y, z) tuples, or a (25, 3) numpy array with as_numpy.
        """
        lib.VarnelApplyFrame(byref(self.record), byref(frame), int(zero_position),
                             int(zero_angles))
        positions = [tuple(node.worldPosition) for node in self.record.nodes]
        if as_numpy:
            import numpy
            return numpy.array(positions, dtype=numpy.float32).reshape(NUM_NODES, 3)
        return positions


def world_positions(frame: SkeletonFrame, actor: Optional[ActorData] = None,
                    as_numpy: bool = False) -> Positions:
    """Where the frame puts each node of the actor's skeleton (the default actor's)."""
    return Take(actor).world_positions(frame, as_numpy)
