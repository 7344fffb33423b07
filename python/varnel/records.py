"""The library's records as ctypes structures, and their named indices."""
from __future__ import annotations

import ctypes
import socket
import struct
from ctypes import POINTER, c_char, c_float, c_int32, c_uint16, c_uint32
from enum import IntEnum, IntFlag

NUM_NODES = 25
NUM_JOINTS = 18
NUM_CHANNELS = 57
NUM_RAW_CHANNELS = 48
SUIT_HAS_POSITION_SENSOR = 2

# The joints with channels, in channel order; the tweaks follow the same
# order with the hips position first.
_JOINTS = ("Hips LeftHip LeftKnee LeftAnkle RightHip RightKnee RightAnkle Chest "
           "LeftCollar LeftShoulder LeftElbow LeftWrist RightCollar RightShoulder "
           "RightElbow RightWrist Neck Head").split()

# First (X) channel of each joint in SkeletonFrame.channels; Y and Z follow.
Channel = IntEnum("Channel", [("HipsPosition", 0)]
                  + [(joint, 3 * (i + 1)) for i, joint in enumerate(_JOINTS)])

Node = IntEnum("Node", "Hips LeftHip RightHip Chest LeftCollar RightCollar Neck LeftKnee "
               "LeftAnkle RightKnee RightAnkle LeftShoulder LeftElbow LeftWrist "
               "RightShoulder RightElbow RightWrist Head TopOfHead LeftHand RightHand "
               "LeftFootHeel RightFootHeel LeftFootBall RightFootBall", start=0)


class Contact(IntFlag):
    """SkeletonFrame.contacts bits: foot points on the floor."""
    LeftFootHeel = 1
    RightFootHeel = 2
    LeftFootBall = 4
    RightFootBall = 8


Units = IntEnum("Units", "Inches Feet Millimeters Centimeters Meters", start=0)

ActorBone = IntEnum("ActorBone", "LeftPelvis LeftUpperLeg LeftLowerLeg LeftAnkleHeight "
                    "LeftHeel LeftFoot RightPelvis RightUpperLeg RightLowerLeg "
                    "RightAnkleHeight RightHeel RightFoot PelvisHeight PelvisDepth "
                    "LeftClavicle LeftUpperArm LeftForearm LeftHand RightClavicle "
                    "RightUpperArm RightForearm RightHand Spine Neck Head", start=0)
ActorDisplacement = IntEnum("ActorDisplacement", [
    f"PotTo{place}{axis}" for place in ("LeftWrist", "RightWrist", "LeftAnkle", "RightAnkle",
                                        "Neck") for axis in "XYZ"], start=0)
ActorTweak = IntEnum("ActorTweak", [
    f"{joint}{axis}" for joint in ["Position"] + _JOINTS for axis in "XYZ"], start=0)
ActorScale = IntEnum("ActorScale", "PositionX PositionY PositionZ ChestX LeftElbowX "
                     "RightElbowX LeftKneeX RightKneeX LeftAnkleX RightAnkleX LeftShoulderX "
                     "LeftShoulderY LeftShoulderZ RightShoulderX RightShoulderY "
                     "RightShoulderZ LeftHipX LeftHipY LeftHipZ RightHipX RightHipY "
                     "RightHipZ", start=0)


class Vector(ctypes.Structure):
    _fields_ = [("x", c_float), ("y", c_float), ("z", c_float)]

    def __iter__(self):
        return iter((self.x, self.y, self.z))

    def __repr__(self) -> str:
        return f"Vector({self.x:g}, {self.y:g}, {self.z:g})"


class Matrix(ctypes.Structure):
    """A row-major 3x3 rotation acting on column vectors."""
    _fields_ = [("m", (c_float * 3) * 3)]

    def rows(self) -> tuple[tuple[float, float, float], ...]:
        return tuple(tuple(row) for row in self.m)


class SuitInfo(ctypes.Structure):
    """A suit's identity; address and port are in network byte order."""
    _fields_ = [("address", c_uint32), ("port", c_uint16), ("flags", c_uint16),
                ("name", c_char * 16), ("frameRate", c_float)]

    @property
    def host(self) -> str:
        return socket.inet_ntoa(struct.pack("=I", self.address))

    @property
    def host_port(self) -> int:
        return socket.ntohs(self.port)

    @property
    def suit_name(self) -> str:
        return self.name.decode("latin-1")

    @property
    def has_position_sensor(self) -> bool:
        return bool(self.flags & SUIT_HAS_POSITION_SENSOR)

    def __str__(self) -> str:
        return f'"{self.suit_name}" at {self.host}:{self.host_port}'


class ActorData(ctypes.Structure):
    """The actor's measurements: inches, degrees and plain factors."""
    _fields_ = [("bones", c_float * 25), ("displacements", c_float * 15),
                ("tweaks", c_float * 57), ("scales", c_float * 22)]

    def __eq__(self, other: object) -> bool:
        return isinstance(other, ActorData) and bytes(self) == bytes(other)


class SkeletonFrame(ctypes.Structure):
    """One pose: the hips position, then X, Y, Z degrees of the 18 joints."""
    _fields_ = [("counter", c_int32), ("contacts", c_uint32),
                ("channels", c_float * NUM_CHANNELS)]

    @property
    def hips_position(self) -> tuple[float, float, float]:
        return tuple(self.channels[0:3])

    def angles(self, joint: Channel) -> tuple[float, float, float]:
        return tuple(self.channels[joint:joint + 3])


class SkeletonNode(ctypes.Structure):
    pass


SkeletonNode._fields_ = [
    ("name", c_char * 16), ("offset", Vector), ("hasChannels", c_int32),
    ("channelIndex", c_int32 * 3), ("numChildren", c_int32),
    ("children", POINTER(SkeletonNode) * 3), ("worldPosition", Vector),
    ("worldRotation", Matrix)]


class Skeleton(ctypes.Structure):
    """The library allocates, grows and frees the frames."""
    _fields_ = [("numFrames", c_int32), ("frameTime", c_float),
                ("frames", POINTER(SkeletonFrame)), ("nodes", SkeletonNode * NUM_NODES)]


class FloorGeometry(ctypes.Structure):
    """z = z0 + dzdx*x + dzdy*y, optionally clamped to [min, max] and cut into stairs."""
    _fields_ = [("dzdx", c_float), ("dzdy", c_float), ("z0", c_float), ("min", c_float),
                ("max", c_float), ("clamp", c_int32), ("NumSteps", c_int32)]


# The binary interface's sizes on 64-bit Linux.
SIZES = {Vector: 12, Matrix: 36, SuitInfo: 28, ActorData: 476, SkeletonFrame: 236,
         SkeletonNode: 120, Skeleton: 3016, FloorGeometry: 28}
