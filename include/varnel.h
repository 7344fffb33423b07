/*
 * varnel.h - the Varnel library: find a motion-capture suit on the network,
 * calibrate it, solve its datagrams into poses of an 18-joint skeleton that
 * walks on a configurable floor, and read and write BVH and actor files.
 *
 * Contract, once for the whole interface:
 * - Functions are extern "C" with plain data records; nothing throws across
 *   the boundary.
 * - Results are 1 for success and 0 for failure (VarnelFindSuits also -1 for
 *   "refused"). Failures that a user should see are reported by the library
 *   itself through VarnelMessageBox; the actor-file functions only return 0.
 * - A VarnelHandle is a plain pointer to a suit slot. Every call that takes
 *   one accepts null and then does nothing (returning 0 or zero-filled
 *   output). A handle stays valid until the next VarnelFindSuits that
 *   rebuilds the suit table, VarnelInit or VarnelFinish.
 * - Threads. Every function may be called from any thread, and from the
 *   callbacks, with these rules:
 *   - Frame callbacks run on the library's receive thread with the library
 *     lock held; they must return quickly. Timeout callbacks run on
 *     short-lived threads of their own, without the lock. No callback runs
 *     after VarnelFinish returns.
 *   - VarnelInit, VarnelFindSuits and VarnelFinish may run at the same time
 *     as anything, each other included: one at a time does its work and the
 *     others wait for it. Called from a frame callback they do nothing (the
 *     receive thread cannot stop itself: VarnelInit returns 0, VarnelFindSuits
 *     -1); from a timeout callback while another of them runs, they return
 *     at once the same way, since that one waits for the callback.
 *   - VarnelNumSuits, VarnelEnumerateSuitInfo, VarnelHandleFromInfo and
 *     VarnelOpen may overlap a VarnelFindSuits on another thread: they see
 *     the old table or the new one whole, and a suit opened during a rescan
 *     makes that rescan refuse (-1) and keep the old table.
 *   - A handle is the caller's to keep valid: calls that take one may
 *     overlap anything but the VarnelFindSuits, VarnelInit or VarnelFinish
 *     that frees its table.
 *   - The skeleton functions take no lock: one Skeleton record is used by
 *     one thread at a time (a recorder appends from its frame callback while
 *     the display reads another frame).
 *   - The message handler is never called with the library lock held: a
 *     message raised under it (a client reading a file from its frame
 *     callback) is handed over once the lock is given back, on the same
 *     thread, and VarnelMessageBox then returns 1.
 * - Lengths are inches, frame angles degrees, Vector/Matrix angles radians.
 *   World axes: Z up, X towards the actor's left, the actor faces -Y.
 */
#ifndef VARNEL_H
#define VARNEL_H

#include <stdint.h>

/* The version this header belongs to; VarnelVersion() gives the library's
 * at run time (VARNEL_VERSION_MAJOR in its low 16 bits, VARNEL_VERSION_MINOR
 * in its high 16 bits). The SONAME changes with the major number. */
#define VARNEL_VERSION_MAJOR 2
#define VARNEL_VERSION_MINOR 556

/* The usual foot of VarnelReadBVH, which a BVH file does not carry: the
 * angle in degrees at the heel between the ankle and the ball, and the
 * heel-to-ball length over the heel-to-ankle length. */
#define VARNEL_DEFAULT_ANKLE_HEEL_BALL_ANGLE 85.0f
#define VARNEL_DEFAULT_BALL_TO_HEEL_RATIO 1.5f

#if defined(VARNEL_BUILDING_LIBRARY)
#define VARNEL_API __attribute__((visibility("default")))
#else
#define VARNEL_API
#endif

#ifdef __cplusplus
#include <math.h>

/* ---------------------------------------------------------------- math -- */

/* Three floats; the small members are inline so that clients compile their
 * own copies. */
class Vector {
  public:
    float x, y, z;

    Vector() = default;
    constexpr Vector(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    float Dot(Vector v) const { return x * v.x + y * v.y + z * v.z; }
    Vector operator+(Vector v) const { return Vector(x + v.x, y + v.y, z + v.z); }
    Vector operator-(Vector v) const { return Vector(x - v.x, y - v.y, z - v.z); }
    Vector operator-() const { return Vector(-x, -y, -z); }
    Vector operator*(float s) const { return Vector(x * s, y * s, z * s); }
    Vector operator/(float s) const
    {
        float inverse = 1.0f / s;
        return Vector(x * inverse, y * inverse, z * inverse);
    }
    Vector& operator+=(Vector v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    Vector& operator-=(Vector v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    Vector Cross(Vector b) const
    {
        return Vector(y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x);
    }
    float Length() const { return sqrtf(x * x + y * y + z * z); }
    /* Unit vector in the same direction; a zero vector comes back unchanged. */
    Vector Normalize() const
    {
        float length = Length();
        return length == 0.0f ? *this : *this / length;
    }
};

/* A 3x3 rotation of floats, row-major, acting on column vectors. Products
 * are computed into a temporary, so m *= m and m = m * m square m. */
class Matrix {
  public:
    float m[3][3];

    Matrix() = default;
    constexpr Matrix(float m00, float m01, float m02, float m10, float m11, float m12, float m20,
                     float m21, float m22)
        : m{{m00, m01, m02}, {m10, m11, m12}, {m20, m21, m22}}
    {
    }
    constexpr Matrix(double m00, double m01, double m02, double m10, double m11, double m12,
                     double m20, double m21, double m22)
        : m{{(float)m00, (float)m01, (float)m02},
            {(float)m10, (float)m11, (float)m12},
            {(float)m20, (float)m21, (float)m22}}
    {
    }
    /* The three vectors become rows X, Y and Z. */
    constexpr Matrix(Vector rowX, Vector rowY, Vector rowZ)
        : m{{rowX.x, rowX.y, rowX.z}, {rowY.x, rowY.y, rowY.z}, {rowZ.x, rowZ.y, rowZ.z}}
    {
    }
    Matrix(const Matrix&) = default;
    Matrix& operator=(const Matrix&) = default;

    Matrix Transpose() const
    {
        return Matrix(m[0][0], m[1][0], m[2][0], m[0][1], m[1][1], m[2][1], m[0][2], m[1][2],
                      m[2][2]);
    }
    Vector RowX() const { return Vector(m[0][0], m[0][1], m[0][2]); }
    Vector RowY() const { return Vector(m[1][0], m[1][1], m[1][2]); }
    Vector RowZ() const { return Vector(m[2][0], m[2][1], m[2][2]); }

    Matrix operator*(const Matrix& b) const
    {
        Matrix r;
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++)
                r.m[i][j] = m[i][0] * b.m[0][j] + m[i][1] * b.m[1][j] + m[i][2] * b.m[2][j];
        return r;
    }
    Vector operator*(Vector v) const
    {
        return Vector(m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
                      m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
                      m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z);
    }
    void operator*=(const Matrix& b) { *this = *this * b; }

    /* Rotation builders, angles in radians. The three-angle ones multiply in
     * the order of the letters (RotYXZ = RotY * RotX * RotZ), in closed form. */
    VARNEL_API static Matrix RotX(float a);
    VARNEL_API static Matrix RotY(float a);
    VARNEL_API static Matrix RotZ(float a);
    VARNEL_API static Matrix RotYXZ(float y, float x, float z);
    VARNEL_API static Matrix RotZXY(float z, float x, float y);
    VARNEL_API static Matrix RotZYX(float z, float y, float x);

    /* Angles such that *this == RotYXZ(*y, *x, *z). When m11 < 0 the X angle
     * of the equivalent solution with |X| >= pi/2 is returned; at gimbal lock
     * X is 1.5707964 or 4.712389 and Y is 0. */
    VARNEL_API void MatrixToEulerYXZ(float* y, float* x, float* z) const;
    /* Angles such that *this == RotZYX(*z, *y, *x); at gimbal lock Y is
     * 1.5707964 or 4.712389 and X is 0. */
    VARNEL_API void MatrixToEulerZYX(float* z, float* y, float* x) const;

    VARNEL_API static const Matrix Identity;
};

VARNEL_API extern const Vector VectorZero;
VARNEL_API extern const Vector VectorXAxis;
VARNEL_API extern const Vector VectorYAxis;
VARNEL_API extern const Vector VectorZAxis;
VARNEL_API extern const Matrix MatrixIdentity;

static_assert(sizeof(Vector) == 12, "Vector is three floats");
static_assert(sizeof(Matrix) == 36, "Matrix is nine floats");

extern "C" {
#else
/* C clients see the same layout as plain records. */
typedef struct Vector {
    float x, y, z;
} Vector;
typedef struct Matrix {
    float m[3][3];
} Matrix;
#endif

/* ------------------------------------------------------------- records -- */

enum {
    VARNEL_NUM_NODES = 25,    /* nodes of the skeleton */
    VARNEL_NUM_JOINTS = 18,   /* nodes with channels; the joints of a BVH file */
    VARNEL_NUM_CHANNELS = 57, /* hips position + 18 joints x 3 angles */
    VARNEL_NUM_RAW_CHANNELS = 48,
    SUIT_HAS_POSITION_SENSOR = 2 /* SuitInfo.flags bit: the suit carries a position sensor */
};

/* A suit's identity. address and port are in network byte order. */
typedef struct SuitInfo {
    uint32_t address;
    uint16_t port;
    uint16_t flags;
    char name[16];
    float frameRate; /* nominal frames per second */
} SuitInfo;

/* Indices into ActorData.bones. */
enum ActorBone {
    BoneLeftPelvis,
    BoneLeftUpperLeg,
    BoneLeftLowerLeg,
    BoneLeftAnkleHeight,
    BoneLeftHeel,
    BoneLeftFoot,
    BoneRightPelvis,
    BoneRightUpperLeg,
    BoneRightLowerLeg,
    BoneRightAnkleHeight,
    BoneRightHeel,
    BoneRightFoot,
    BonePelvisHeight,
    BonePelvisDepth,
    BoneLeftClavicle,
    BoneLeftUpperArm,
    BoneLeftForearm,
    BoneLeftHand,
    BoneRightClavicle,
    BoneRightUpperArm,
    BoneRightForearm,
    BoneRightHand,
    BoneSpine,
    BoneNeck,
    BoneHead,
    ActorNumBones
};

/* Indices into ActorData.displacements: sensor-to-joint offsets. */
enum ActorDisplacement {
    DisplacementPotToLeftWristX,
    DisplacementPotToLeftWristY,
    DisplacementPotToLeftWristZ,
    DisplacementPotToRightWristX,
    DisplacementPotToRightWristY,
    DisplacementPotToRightWristZ,
    DisplacementPotToLeftAnkleX,
    DisplacementPotToLeftAnkleY,
    DisplacementPotToLeftAnkleZ,
    DisplacementPotToRightAnkleX,
    DisplacementPotToRightAnkleY,
    DisplacementPotToRightAnkleZ,
    DisplacementPotToNeckX,
    DisplacementPotToNeckY,
    DisplacementPotToNeckZ,
    ActorNumDisplacements
};

/* Indices into ActorData.tweaks: the hips position offset (inches), then
 * angle corrections in degrees per joint and axis. */
enum ActorTweak {
    TweakPositionX,
    TweakPositionY,
    TweakPositionZ,
    TweakHipsX,
    TweakHipsY,
    TweakHipsZ,
    TweakLeftHipX,
    TweakLeftHipY,
    TweakLeftHipZ,
    TweakLeftKneeX,
    TweakLeftKneeY,
    TweakLeftKneeZ,
    TweakLeftAnkleX,
    TweakLeftAnkleY,
    TweakLeftAnkleZ,
    TweakRightHipX,
    TweakRightHipY,
    TweakRightHipZ,
    TweakRightKneeX,
    TweakRightKneeY,
    TweakRightKneeZ,
    TweakRightAnkleX,
    TweakRightAnkleY,
    TweakRightAnkleZ,
    TweakChestX,
    TweakChestY,
    TweakChestZ,
    TweakLeftCollarX,
    TweakLeftCollarY,
    TweakLeftCollarZ,
    TweakLeftShoulderX,
    TweakLeftShoulderY,
    TweakLeftShoulderZ,
    TweakLeftElbowX,
    TweakLeftElbowY,
    TweakLeftElbowZ,
    TweakLeftWristX,
    TweakLeftWristY,
    TweakLeftWristZ,
    TweakRightCollarX,
    TweakRightCollarY,
    TweakRightCollarZ,
    TweakRightShoulderX,
    TweakRightShoulderY,
    TweakRightShoulderZ,
    TweakRightElbowX,
    TweakRightElbowY,
    TweakRightElbowZ,
    TweakRightWristX,
    TweakRightWristY,
    TweakRightWristZ,
    TweakNeckX,
    TweakNeckY,
    TweakNeckZ,
    TweakHeadX,
    TweakHeadY,
    TweakHeadZ,
    ActorNumTweaks
};

/* Indices into ActorData.scales: plain factors. */
enum ActorScale {
    ScalePositionX,
    ScalePositionY,
    ScalePositionZ,
    ScaleChestX,
    ScaleLeftElbowX,
    ScaleRightElbowX,
    ScaleLeftKneeX,
    ScaleRightKneeX,
    ScaleLeftAnkleX,
    ScaleRightAnkleX,
    ScaleLeftShoulderX,
    ScaleLeftShoulderY,
    ScaleLeftShoulderZ,
    ScaleRightShoulderX,
    ScaleRightShoulderY,
    ScaleRightShoulderZ,
    ScaleLeftHipX,
    ScaleLeftHipY,
    ScaleLeftHipZ,
    ScaleRightHipX,
    ScaleRightHipY,
    ScaleRightHipZ,
    ActorNumScales
};

/* The actor's 119 measurements: lengths in inches, angles in degrees. */
typedef struct ActorData {
    float bones[25];
    float displacements[15];
    float tweaks[57];
    float scales[22];
} ActorData;

/* Units of VarnelWriteActorData. */
enum ActorUnitsIndex {
    ActorUnitsInches,
    ActorUnitsFeet,
    ActorUnitsMillimeters,
    ActorUnitsCentimeters,
    ActorUnitsMeters
};

/* SkeletonFrame.contacts bits. */
enum {
    ContactLeftFootHeel = 1,
    ContactRightFootHeel = 2,
    ContactLeftFootBall = 4,
    ContactRightFootBall = 8
};

/* One pose: channels 0..2 the hips position, then X, Y, Z degrees of the
 * 18 joints in node order. */
typedef struct SkeletonFrame {
    int32_t counter;   /* suit counter minus its value at calibration */
    uint32_t contacts; /* Contact* bits of the foot points on the floor */
    float channels[57];
} SkeletonFrame;

/* First (X) channel of each joint in SkeletonFrame.channels; Y and Z follow. */
enum SkeletonJointChannel {
    HipsPositionChannel = 0,
    HipsChannel = 3,
    LeftHipChannel = 6,
    LeftKneeChannel = 9,
    LeftAnkleChannel = 12,
    RightHipChannel = 15,
    RightKneeChannel = 18,
    RightAnkleChannel = 21,
    ChestChannel = 24,
    LeftCollarChannel = 27,
    LeftShoulderChannel = 30,
    LeftElbowChannel = 33,
    LeftWristChannel = 36,
    RightCollarChannel = 39,
    RightShoulderChannel = 42,
    RightElbowChannel = 45,
    RightWristChannel = 48,
    NeckChannel = 51,
    HeadChannel = 54
};

/* Node indices of Skeleton.nodes. */
enum SkeletonNodeIndex {
    NodeHips,
    NodeLeftHip,
    NodeRightHip,
    NodeChest,
    NodeLeftCollar,
    NodeRightCollar,
    NodeNeck,
    NodeLeftKnee,
    NodeLeftAnkle,
    NodeRightKnee,
    NodeRightAnkle,
    NodeLeftShoulder,
    NodeLeftElbow,
    NodeLeftWrist,
    NodeRightShoulder,
    NodeRightElbow,
    NodeRightWrist,
    NodeHead,
    NodeTopOfHead,
    NodeLeftHand,
    NodeRightHand,
    NodeLeftFootHeel,
    NodeRightFootHeel,
    NodeLeftFootBall,
    NodeRightFootBall
};

typedef struct SkeletonNode {
    char name[16];
    Vector offset;           /* from the parent, in the parent's rotated axes */
    int32_t hasChannels;     /* 0 for the seven end points */
    int32_t channelIndex[3]; /* channels of the Y, X and Z angle */
    int32_t numChildren;     /* 0..3 */
    struct SkeletonNode* children[3];
    Vector worldPosition; /* written by VarnelApplyFrame */
    Matrix worldRotation; /* node-to-world, written by VarnelApplyFrame */
} SkeletonNode;

/* Owned by the client; only the library allocates, grows and frees frames. */
typedef struct Skeleton {
    int32_t numFrames;
    float frameTime; /* seconds per frame */
    SkeletonFrame* frames;
    SkeletonNode nodes[25];
} Skeleton;

/* The floor: z = z0 + dzdx*x + dzdy*y, optionally clamped to [min, max] and
 * cut into NumSteps stairs. */
typedef struct FloorGeometry {
    float dzdx, dzdy, z0, min, max;
    int32_t clamp;
    int32_t NumSteps;
} FloorGeometry;

#ifdef __cplusplus
static_assert(sizeof(SuitInfo) == 28, "SuitInfo layout");
static_assert(sizeof(ActorData) == 476, "ActorData layout");
static_assert(sizeof(SkeletonFrame) == 236, "SkeletonFrame layout");
static_assert(sizeof(SkeletonNode) == 120, "SkeletonNode layout");
static_assert(sizeof(Skeleton) == 3016, "Skeleton layout");
static_assert(sizeof(FloorGeometry) == 28, "FloorGeometry layout");
#endif

typedef struct SuitSlot* VarnelHandle;
/* pose is valid only during the call. Runs on the receive thread, lock held. */
typedef void (*FrameCallback)(const SkeletonFrame* pose, VarnelHandle suit);
/* Runs on a thread of its own, about once a second while the suit is silent. */
typedef void (*TimeoutCallback)(VarnelHandle suit);
/* Shows text to the user; returns what the user answered (1 = OK). */
typedef int (*VarnelMessageHandler)(const char* text);

/* ----------------------------------------------------------- lifecycle -- */

/* Each function below ends with its thread rule, in short; the contract at
 * the top gives the whole. */

/* Binds UDP port 8000 on all IPv4 interfaces, first undoing any earlier
 * VarnelInit. 1 when ready; 0 after a failure, already reported.
 * Threads: any; waits for a VarnelFindSuits or VarnelFinish in progress;
 * 0 at once from a frame callback. */
VARNEL_API int VarnelInit(void);
/* Stops the receive thread, closes the socket and frees the suit table.
 * Safe at any time; no callback runs after it returns.
 * Threads: any; waits for a VarnelInit or VarnelFindSuits in progress and
 * for running timeout callbacks; does nothing from a frame callback. */
VARNEL_API void VarnelFinish(void);
/* Major version in the low 16 bits, minor in the high 16 bits (2.556 is
 * 2 | 556 << 16): compare with VARNEL_VERSION_MAJOR and VARNEL_VERSION_MINOR.
 * Threads: any. */
VARNEL_API uint32_t VarnelVersion(void);
/* Reports text through the installed message handler and returns its answer.
 * The default handler writes "Varnel: <text>" to standard error and returns 1.
 * Threads: any; from a frame callback the text is handed over once the
 * library lock is released, and the answer is 1. */
VARNEL_API int VarnelMessageBox(const char* text);
/* Installs the handler for VarnelMessageBox and returns the previous one;
 * null restores the default. Any thread may report, so handlers must be
 * thread-safe; none reports with the library lock held, so a handler may
 * wait for another thread that calls the library.
 * Threads: any. */
VARNEL_API VarnelMessageHandler VarnelSetMessageHandler(VarnelMessageHandler handler);

/* --------------------------------------------------------------- suits -- */

/* Listens for one second and rebuilds the suit table (sorted by address,
 * then port), keeping the actor and calibration of suits heard again, and
 * starts the receive thread. Returns the number of suits; -1 when the
 * library is not initialised or a suit is open (also one opened meanwhile,
 * which keeps the old table).
 * Threads: any; waits for a VarnelInit or VarnelFinish in progress; -1 at
 * once from a frame callback. Frees the table the handles point into. */
VARNEL_API int VarnelFindSuits(void);
/* The number of suits in the table.
 * Threads: any, also during a VarnelFindSuits (the old or the new table). */
VARNEL_API int VarnelNumSuits(void);
/* 1 and the suit's identity for 0 <= index < VarnelNumSuits(); else 0.
 * Threads: any, also during a VarnelFindSuits (the old or the new table). */
VARNEL_API int VarnelEnumerateSuitInfo(int index, SuitInfo* info);
/* The suit's identity; all zero for a null handle.
 * Threads: any, while the handle is valid. */
VARNEL_API void VarnelGetSuitInfo(VarnelHandle suit, SuitInfo* info);
/* The first open suit with info's address and port, or null.
 * Threads: any, also during a VarnelFindSuits (the old or the new table). */
VARNEL_API VarnelHandle VarnelHandleFromInfo(const SuitInfo* info);
/* Opens the first suit not yet open (with info's address and port unless
 * info is null). Either callback may be null. Returns null if none
 * qualifies. Resets the statistics and switches the position sensor off.
 * Threads: any; during a VarnelFindSuits it opens in the old table and
 * makes that rescan refuse. */
VARNEL_API VarnelHandle VarnelOpen(const SuitInfo* info, FrameCallback onFrame,
                                   TimeoutCallback onTimeout);
/* Stops callbacks for the suit; its data and calibration stay. A frame being
 * delivered at that moment may still reach the callback once.
 * Threads: any, while the handle is valid. */
VARNEL_API void VarnelClose(VarnelHandle suit);
/* The suit's nominal rate, at least 1.0; 0 for a null handle.
 * Threads: any, while the handle is valid. */
VARNEL_API float VarnelGetFrameRate(VarnelHandle suit);
/* Datagrams overwritten before they could be solved, since the last clear.
 * Threads: any, while the handle is valid (also VarnelClearDropped). */
VARNEL_API uint32_t VarnelGetDropped(VarnelHandle suit);
VARNEL_API void VarnelClearDropped(VarnelHandle suit);
/* The 48 potentiometer counts as last stored (and filtered).
 * Threads: any, while the handle is valid. */
VARNEL_API void VarnelGetRaw(VarnelHandle suit, uint16_t channels[48]);
/* Uses the position sensor for the hips translation if the suit has one;
 * a change recalibrates the suit on its next datagram.
 * Threads: any, while the handle is valid. */
VARNEL_API void VarnelEnablePositionSensor(VarnelHandle suit, int enable);

/* ----------------------------------------------- poses and calibration -- */

/* Solves the suit's latest datagram into pose (calibrating first if needed),
 * also for a closed suit. 1 on success; 0 for a null handle or pose, or a
 * suit that has sent nothing. Takes the library lock.
 * Threads: any, while the handle is valid, frame callbacks included. */
VARNEL_API int VarnelRead(VarnelHandle suit, SkeletonFrame* pose);
/* Calibrates the suit on its current datagram (the actor stands in the null
 * pose), waiting for a first datagram if none has arrived; the wait does not
 * hold the library lock. It gives up without calibrating when VarnelFinish or
 * VarnelFindSuits stops the receive thread meanwhile, and at once when called
 * from a frame callback for a suit that has sent nothing.
 * Threads: any, while the handle is valid. */
VARNEL_API void VarnelSetNull(VarnelHandle suit);

/* --------------------------------------------------------------- actor -- */

/* Copies the actor into the suit; null handle: nothing. A record holding a
 * NaN, an infinity or a value beyond 1e6 (inches, degrees or factor) is
 * refused and changes nothing.
 * Threads: any, while the handle is valid. */
VARNEL_API void VarnelSetActorData(VarnelHandle suit, const ActorData* actor);
/* The suit's actor; the built-in default actor for a null handle.
 * Threads: any, while the handle is valid. */
VARNEL_API void VarnelGetActorData(VarnelHandle suit, ActorData* actor);
/* 1 when every key was read; 0 otherwise (values read so far are stored). A
 * file with a value that is not finite or beyond 1e6 inches (or degrees, or
 * factor) gives 0 and changes nothing.
 * Threads: any; the record is the caller's. */
VARNEL_API int VarnelReadActorData(const char* path, ActorData* actor);
/* Writes the actor in ActorUnits* units. 1 written; 0 on any failure, with a
 * previous file left intact; 0 and nothing written for a record that
 * VarnelSetActorData would refuse.
 * Threads: any; the record is the caller's. */
VARNEL_API int VarnelWriteActorData(const char* path, const ActorData* actor, int units);

/* ------------------------------------------------------------ skeleton -- */

/* The skeleton functions take no lock. Threads: any, one at a time per
 * Skeleton record. */

/* Builds the 25-node skeleton from the default actor with one rest frame
 * standing on z = 0 (no frame, reported, when memory runs out). The record
 * may hold garbage before the call. */
VARNEL_API void VarnelInitSkeleton(Skeleton* skeleton);
/* Sets the bone offsets from the actor's measurements (the default actor
 * when null); the frames stay. */
VARNEL_API void VarnelCopyActorToSkeleton(Skeleton* skeleton, const ActorData* actor);
/* Appends one frame, left for the caller to fill (amortised constant time).
 * 1 on success; 0 when memory runs out, with the frames unchanged and
 * nothing reported (the caller may be on the receive thread). */
VARNEL_API int VarnelAddFrame(Skeleton* skeleton);
VARNEL_API void VarnelFreeSkeletonFrames(Skeleton* skeleton);
/* Poses every node from the frame by forward kinematics. Not for two
 * threads at once on the same skeleton. */
VARNEL_API void VarnelApplyFrame(Skeleton* skeleton, const SkeletonFrame* frame, int zeroPosition,
                                 int zeroAngles);
/* The hips height at which the rest pose stands on the floor. */
VARNEL_API float VarnelPutSkeletonOnFloor(const Skeleton* skeleton);

/* --------------------------------------------------------------- floor -- */

/* Any thread may read the floor while another sets it; a reader sees the
 * old or the new floor whole. Threads: any, for the three. */
VARNEL_API void VarnelSetFloor(FloorGeometry floor);
VARNEL_API void VarnelGetFloor(FloorGeometry* floor);
VARNEL_API float VarnelFloorHeight(float x, float y);

/* -------------------------------------------------------- motion files -- */

/* 1 written; 0 failed (already reported). A previous file survives a failed
 * write.
 * Threads: any; no other thread changes the skeleton meanwhile. */
VARNEL_API int VarnelWriteBVH(const char* path, const Skeleton* skeleton);
/* Reads a BVH file of the 18-joint body into skeleton, rebuilding the foot
 * balls and contacts (VARNEL_DEFAULT_ANKLE_HEEL_BALL_ANGLE and
 * VARNEL_DEFAULT_BALL_TO_HEEL_RATIO give the usual foot). 1 read; 0 failed:
 * a file that cannot be opened leaves the skeleton untouched, silently; a
 * format error is reported and leaves the default rest pose.
 * Threads: any; no other thread uses the skeleton meanwhile. */
VARNEL_API int VarnelReadBVH(const char* path, Skeleton* skeleton, float ankleHeelBallAngle,
                             float ballToHeelRatio);

/* ----------------------------------------------- raw takes (extension) -- */

/* An extension to the 2.556 interface: the datagrams of open suits as they
 * arrive, and a solver that takes them again later, so that a take kept
 * raw can be solved again with other measurements or another calibration.
 * Clients test the macro before using them. */
#define VARNEL_EXT_RAW_TAKES 1

/* What a raw callback is told. Datagram: a datagram of an open suit was
 * stored as the suit's latest readings (its 152 bytes are passed).
 * Calibration: the suit was calibrated on its latest readings. Solved, and
 * SolvedWithPositionSensor: a frame was solved from its latest readings
 * (with the position sensor carrying the body). For the other events the
 * datagram is null. */
enum VarnelRawEvent {
    VarnelRawDatagram = 1,
    VarnelRawCalibration = 2,
    VarnelRawSolved = 3,
    VarnelRawSolvedWithPositionSensor = 4
};

/* Runs with LibraryLock held, on the thread that stores, calibrates or
 * solves: the receive thread, or a client inside VarnelSetNull or
 * VarnelRead. It must return quickly and must not call the library. The
 * datagram is valid only during the call. */
typedef void (*VarnelRawCallback)(VarnelHandle suit, int event, const uint8_t* datagram,
                                  void* context);

/* One callback for every open suit; null stops the calls. Once it returns,
 * the previous callback is no longer running and is not called again.
 * Threads: any but a raw or frame callback. */
VARNEL_API void VarnelSetRawCallback(VarnelRawCallback callback, void* context);

/* A suit of no network: it stores the datagrams it is given and solves them
 * through the same code as a live suit, with its own calibration and
 * support state. It shares the library's floor (VarnelSetFloor) and the leg
 * skeleton that each calibration rebuilds, so while live suits are solved,
 * calibrating one changes their legs as calibrating a live suit would. */
typedef struct VarnelRawSolver VarnelRawSolver;

/* A raw solver with the actor's measurements (the default actor when null)
 * and the position sensor on or off; null when the actor is unusable or
 * memory runs out. Threads: any. */
VARNEL_API VarnelRawSolver* VarnelCreateRawSolver(const ActorData* actor, int positionSensor);
VARNEL_API void VarnelFreeRawSolver(VarnelRawSolver* solver);
/* Stores a 152-byte datagram as the suit's latest readings, as the receive
 * thread stores one. Unlike a live suit it is not calibrated on its first
 * datagram: the caller calibrates where the take did (a solve before any
 * calibration calibrates first). 0 for a null argument. */
VARNEL_API int VarnelRawSolverStore(VarnelRawSolver* solver, const uint8_t* datagram);
/* Calibrates on the latest readings and writes the calibration frame into
 * pose (when not null). 0 before the first datagram. */
VARNEL_API int VarnelRawSolverCalibrate(VarnelRawSolver* solver, SkeletonFrame* pose);
/* Solves a frame from the latest readings into pose, with the position
 * sensor on or off. 0 before the first datagram. */
VARNEL_API int VarnelRawSolverSolve(VarnelRawSolver* solver, int positionSensor,
                                    SkeletonFrame* pose);
/* The raw solver functions take LibraryLock for the shared legs. Threads:
 * any, one at a time per solver. */

#ifdef __cplusplus
}
#endif

#endif /* VARNEL_H */
