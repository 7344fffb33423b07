"""BVH takes and actor files."""
from __future__ import annotations

import os
from ctypes import byref
from typing import Union

from ._library import lib
from .errors import VarnelError, checked
from .records import ActorData, Units
from .skeleton import Take, default_actor

# The usual foot, which a BVH file does not carry: the angle at the heel
# between the ankle and the ball (degrees), and heel-to-ball over heel-to-ankle.
DEFAULT_ANKLE_HEEL_BALL_ANGLE = 85.0
DEFAULT_BALL_TO_HEEL_RATIO = 1.5

PathLike = Union[str, "os.PathLike[str]"]


def read_bvh(path: PathLike, ankle_heel_ball_angle: float = DEFAULT_ANKLE_HEEL_BALL_ANGLE,
             ball_to_heel_ratio: float = DEFAULT_BALL_TO_HEEL_RATIO) -> Take:
    """Reads a BVH take of the 18-joint body, rebuilding its feet."""
    take = Take()
    checked(lib.VarnelReadBVH, os.fsencode(path), byref(take.record), ankle_heel_ball_angle,
            ball_to_heel_ratio, otherwise=f"{os.fsdecode(path)}: cannot be opened")
    return take


def write_bvh(path: PathLike, take: Take) -> None:
    """Writes the take; a previous file survives a failed write."""
    checked(lib.VarnelWriteBVH, os.fsencode(path), byref(take.record),
            otherwise=f"{os.fsdecode(path)}: cannot be written")


def read_actor(path: PathLike) -> ActorData:
    actor = default_actor()
    if not lib.VarnelReadActorData(os.fsencode(path), byref(actor)):
        raise VarnelError(f"{os.fsdecode(path)}: not a complete actor file of finite values")
    return actor


def write_actor(path: PathLike, actor: ActorData, units: Units = Units.Inches) -> None:
    """Writes the actor in the units; a previous file survives a failed write."""
    if not lib.VarnelWriteActorData(os.fsencode(path), byref(actor), int(units)):
        raise VarnelError(f"{os.fsdecode(path)}: cannot be written, or the actor holds "
                          "a value that is not finite or beyond 1e6")
