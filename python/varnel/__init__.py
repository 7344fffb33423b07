"""Python interface to libvarnel: motion-capture suits, skeletons, BVH and actor files.

    import itertools, varnel
    suits = varnel.find_suits()
    with varnel.open_suit(suits[0]) as suit:
        for frame in itertools.islice(suit.frames(), 5):
            print(frame.counter, frame.hips_position)

Frames arrive on the library's receive thread and wait in the suit's queue
until iterated. Library failures raise VarnelError with the library's message;
what it reports about a call that succeeded comes as a VarnelWarning.

The library is loaded from the path in the environment variable
VARNEL_LIBRARY when that is set, else as libvarnel.so.2 through the system's
loader (LD_LIBRARY_PATH, the ldconfig cache), else as
ctypes.util.find_library("varnel") finds it. The whole C interface is
declared on varnel.lib; the records are ctypes structures in varnel.records.
"""
from ._library import lib
from .errors import VarnelError, VarnelWarning
from .files import read_actor, read_bvh, write_actor, write_bvh
from .records import (ActorData, Channel, Contact, Node, SkeletonFrame, SuitInfo, Units)
from .skeleton import Take, default_actor, world_positions
from .suit import Suit, find_suits, finish, open_suit

__version__ = "2.556"

__all__ = [
    "lib", "VarnelError", "VarnelWarning", "read_actor", "read_bvh", "write_actor",
    "write_bvh", "ActorData", "Channel", "Contact", "Node", "SkeletonFrame", "SuitInfo",
    "Units", "Take", "default_actor", "world_positions", "Suit", "find_suits", "finish",
    "open_suit",
]
