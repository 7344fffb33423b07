"""Loads libvarnel and declares its C interface.

The library is the file that VARNEL_LIBRARY names, when that is set; else
libvarnel.so.2 as the system's loader finds it (LD_LIBRARY_PATH, the
ldconfig cache, the standard folders); else what ctypes.util.find_library
finds. Its major version and the records' sizes are checked here, so that a
mismatched library fails at import rather than corrupting memory later.
"""
from __future__ import annotations

import ctypes
import ctypes.util
import os
from ctypes import (CFUNCTYPE, POINTER, c_char_p, c_float, c_int, c_uint8, c_uint16, c_uint32,
                    c_void_p)

from .records import (ActorData, FloorGeometry, SIZES, Skeleton, SkeletonFrame, SuitInfo)

MAJOR_VERSION = 2

Handle = c_void_p
FrameCallback = CFUNCTYPE(None, POINTER(SkeletonFrame), Handle)
TimeoutCallback = CFUNCTYPE(None, Handle)
MessageHandler = CFUNCTYPE(c_int, c_char_p)
RawCallback = CFUNCTYPE(None, Handle, c_int, POINTER(c_uint8), c_void_p)
RawSolver = c_void_p

_DECLARATIONS = {
    # lifecycle
    "VarnelInit": (c_int, []),
    "VarnelFinish": (None, []),
    "VarnelVersion": (c_uint32, []),
    "VarnelMessageBox": (c_int, [c_char_p]),
    "VarnelSetMessageHandler": (MessageHandler, [MessageHandler]),
    # suits
    "VarnelFindSuits": (c_int, []),
    "VarnelNumSuits": (c_int, []),
    "VarnelEnumerateSuitInfo": (c_int, [c_int, POINTER(SuitInfo)]),
    "VarnelGetSuitInfo": (None, [Handle, POINTER(SuitInfo)]),
    "VarnelHandleFromInfo": (Handle, [POINTER(SuitInfo)]),
    "VarnelOpen": (Handle, [POINTER(SuitInfo), FrameCallback, TimeoutCallback]),
    "VarnelClose": (None, [Handle]),
    "VarnelGetFrameRate": (c_float, [Handle]),
    "VarnelGetDropped": (c_uint32, [Handle]),
    "VarnelClearDropped": (None, [Handle]),
    "VarnelGetRaw": (None, [Handle, POINTER(c_uint16)]),
    "VarnelEnablePositionSensor": (None, [Handle, c_int]),
    # poses and calibration
    "VarnelRead": (c_int, [Handle, POINTER(SkeletonFrame)]),
    "VarnelSetNull": (None, [Handle]),
    # actor
    "VarnelSetActorData": (None, [Handle, POINTER(ActorData)]),
    "VarnelGetActorData": (None, [Handle, POINTER(ActorData)]),
    "VarnelReadActorData": (c_int, [c_char_p, POINTER(ActorData)]),
    "VarnelWriteActorData": (c_int, [c_char_p, POINTER(ActorData), c_int]),
    # skeleton
    "VarnelInitSkeleton": (None, [POINTER(Skeleton)]),
    "VarnelCopyActorToSkeleton": (None, [POINTER(Skeleton), POINTER(ActorData)]),
    "VarnelAddFrame": (c_int, [POINTER(Skeleton)]),
    "VarnelFreeSkeletonFrames": (None, [POINTER(Skeleton)]),
    "VarnelApplyFrame": (None, [POINTER(Skeleton), POINTER(SkeletonFrame), c_int, c_int]),
    "VarnelPutSkeletonOnFloor": (c_float, [POINTER(Skeleton)]),
    # floor
    "VarnelSetFloor": (None, [FloorGeometry]),
    "VarnelGetFloor": (None, [POINTER(FloorGeometry)]),
    "VarnelFloorHeight": (c_float, [c_float, c_float]),
    # motion files
    "VarnelWriteBVH": (c_int, [c_char_p, POINTER(Skeleton)]),
    "VarnelReadBVH": (c_int, [c_char_p, POINTER(Skeleton), c_float, c_float]),
    # raw takes (an extension)
    "VarnelSetRawCallback": (None, [RawCallback, c_void_p]),
    "VarnelCreateRawSolver": (RawSolver, [POINTER(ActorData), c_int]),
    "VarnelFreeRawSolver": (None, [RawSolver]),
    "VarnelRawSolverStore": (c_int, [RawSolver, POINTER(c_uint8)]),
    "VarnelRawSolverCalibrate": (c_int, [RawSolver, POINTER(SkeletonFrame)]),
    "VarnelRawSolverSolve": (c_int, [RawSolver, c_int, POINTER(SkeletonFrame)]),
}


def _load() -> ctypes.CDLL:
    path = os.environ.get("VARNEL_LIBRARY")
    if path:
        return ctypes.CDLL(path)
    try:
        return ctypes.CDLL(f"libvarnel.so.{MAJOR_VERSION}")
    except OSError:
        found = ctypes.util.find_library("varnel")
        if not found:
            raise ImportError(f"libvarnel.so.{MAJOR_VERSION} not found: install the library "
                              "or set VARNEL_LIBRARY to its path") from None
        return ctypes.CDLL(found)


def _declare(library: ctypes.CDLL) -> None:
    for name, (restype, argtypes) in _DECLARATIONS.items():
        function = getattr(library, name)
        function.restype = restype
        function.argtypes = argtypes


def _check(library: ctypes.CDLL) -> None:
    version = library.VarnelVersion()
    if version & 0xFFFF != MAJOR_VERSION:
        raise ImportError(f"{library._name} is version {version & 0xFFFF}.{version >> 16}; "
                          f"this package needs {MAJOR_VERSION}.x")
    for record, size in SIZES.items():
        if ctypes.sizeof(record) != size:
            raise ImportError(f"{record.__name__} is {ctypes.sizeof(record)} bytes here, "
                              f"{size} in the library")


lib = _load()
_declare(lib)
_check(lib)
