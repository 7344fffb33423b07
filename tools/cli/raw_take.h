// Raw takes: every datagram of one suit as it arrived, with what the live
// solve did with it, so that the take can be solved again. The layout is
// described in docs/raw-take-format.md.
#pragma once

#include "common/suit_datagram.h"
#include "varnel.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

constexpr char RawTakeMagic[8] = {'V', 'N', 'L', 'R', 'A', 'W', '\r', '\n'};
constexpr uint32_t RawTakeVersion = 1;
constexpr size_t RawTakeHeaderSize = 564;
constexpr size_t RawRecordSize = 168;
// Opens every record, so that a torn or zero-filled tail is told from data.
constexpr uint32_t RawRecordMark = 0x31435244; // "DRC1"
constexpr int64_t RawNoCalibration = -1;

// What happened to a datagram while it was the suit's latest.
enum RawRecordFlag : uint32_t {
    RawSolved = 1,           // a frame was solved from it
    RawKept = 2,             // that frame went into the recorded take
    RawCalibratedBefore = 4, // the suit was calibrated on it before its solve
    RawCalibratedAfter = 8,  // ... or after it, on the readings that solve left
    RawPositionSensor = 16,  // it was solved with the position sensor
};

struct RawTakeHeader {
    char suitName[SuitNameSize] = {}; // NUL-terminated
    float nominalRate = 1.0f;         // frames per second; the BVH frame time is its inverse
    bool positionSensor = false;      // as the take began
    int64_t calibrationAt = RawNoCalibration; // ns, the latest calibration's datagram
    FloorGeometry floor{};
    ActorData actor{};
};

struct RawRecord {
    int64_t time = 0; // ns since the take began
    uint32_t flags = 0;
    SuitDatagram datagram{};
};

struct RawTake {
    RawTakeHeader header;
    std::vector<RawRecord> records;
    uint64_t ignoredBytes = 0; // after the last whole record: a cut or damaged tail
};

void EncodeRawTakeHeader(const RawTakeHeader& header, uint8_t out[RawTakeHeaderSize]);
void EncodeRawRecord(const RawRecord& record, uint8_t out[RawRecordSize]);

// Reads a raw take from memory: every whole record up to the first that is
// cut or damaged. Returns "" or why the bytes are no raw take this program
// reads.
std::string ParseRawTake(const uint8_t* data, size_t size, RawTake* take);
std::string ReadRawTake(const std::string& path, RawTake* take);

// Writes a raw take as it is recorded. The callers (the receive thread)
// only append to memory; a thread of the writer's own writes and syncs to
// disk at least twice a second, so that a take cut by a crash or a power
// loss keeps all but its last half second.
class RawTakeWriter {
  public:
    RawTakeWriter() = default;
    ~RawTakeWriter();
    RawTakeWriter(const RawTakeWriter&) = delete;
    RawTakeWriter& operator=(const RawTakeWriter&) = delete;

    // Creates the file; the take's time starts now. "" or the reason.
    std::string Open(const std::string& path);
    // The header, written with the first flush and again when it changes.
    void SetHeader(const RawTakeHeader& header);
    // The clock of the take's times, and a time of it as one of the take.
    static int64_t Clock();
    int64_t Since(int64_t clock) const { return clock - start; }
    int64_t Now() const { return Since(Clock()); }
    void Add(int64_t time, const uint8_t* datagram);
    // Flags of the latest record.
    void Mark(uint32_t flags);
    void MarkCalibration();
    // Writes what is left and closes. "" or the first write error.
    std::string Close();
    uint64_t Records() const;

  private:
    void Run();
    bool Flush();

    int file = -1;
    int64_t start = 0;
    std::thread thread;
    mutable std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
    // Guarded by lock.
    RawTakeHeader header;
    bool headerSet = false;
    bool headerDirty = false;
    std::vector<RawRecord> queue;
    uint64_t count = 0;     // records added
    int64_t lastTime = 0;   // of the latest record
    uint32_t lastFlags = 0; // of the latest record
    // A mark on the latest record after it was written.
    bool rewritePending = false;
    uint64_t rewriteIndex = 0;
    uint32_t rewriteFlags = 0;
    std::string error;
    // The writer thread's own.
    std::vector<RawRecord> writing;
    uint64_t written = 0;
};
