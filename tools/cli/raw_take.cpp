#include "tools/cli/raw_take.h"

#include "tools/cli/monotonic_clock.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {
constexpr size_t FlagsOffset = 20;
constexpr size_t RateOffset = 24;
constexpr size_t CalibrationOffset = 32;
constexpr size_t NameOffset = 40;
constexpr size_t FloorOffset = 56;
constexpr size_t ActorOffset = 88;
constexpr size_t RecordFlagsOffset = 8;
constexpr size_t RecordMarkOffset = 12;
constexpr size_t RecordDatagramOffset = 16;
constexpr size_t ActorFloats = sizeof(ActorData) / sizeof(float);
static_assert(ActorOffset + sizeof(ActorData) == RawTakeHeaderSize);
static_assert(RecordDatagramOffset + SUIT_PACKET_SIZE == RawRecordSize);

constexpr auto FlushInterval = std::chrono::milliseconds(500);

void Put64(uint8_t* out, uint64_t value)
{
    WriteLittleEndian32(out, uint32_t(value));
    WriteLittleEndian32(out + 4, uint32_t(value >> 32));
}

uint64_t Get64(const uint8_t* in)
{
    return uint64_t(ReadLittleEndian32(in)) | uint64_t(ReadLittleEndian32(in + 4)) << 32;
}

std::string SystemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

bool WriteAll(int file, const uint8_t* data, size_t size, off_t at)
{
    while (size > 0) {
        ssize_t done = pwrite(file, data, size, at);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= size_t(done);
        at += done;
    }
    return true;
}
} // namespace

void EncodeRawTakeHeader(const RawTakeHeader& header, uint8_t out[RawTakeHeaderSize])
{
    std::memset(out, 0, RawTakeHeaderSize);
    std::memcpy(out, RawTakeMagic, sizeof RawTakeMagic);
    WriteLittleEndian32(out + 8, RawTakeVersion);
    WriteLittleEndian32(out + 12, RawTakeHeaderSize);
    WriteLittleEndian32(out + 16, RawRecordSize);
    WriteLittleEndian32(out + FlagsOffset, header.positionSensor ? 1 : 0);
    WriteLittleEndianFloat(out + RateOffset, header.nominalRate);
    Put64(out + CalibrationOffset, uint64_t(header.calibrationAt));
    std::memcpy(out + NameOffset, header.suitName, SuitNameSize - 1);
    const FloorGeometry& floor = header.floor;
    const float floats[] = {floor.dzdx, floor.dzdy, floor.z0, floor.min, floor.max};
    for (int i = 0; i < 5; i++)
        WriteLittleEndianFloat(out + FloorOffset + 4 * i, floats[i]);
    WriteLittleEndian32(out + FloorOffset + 20, uint32_t(floor.clamp));
    WriteLittleEndian32(out + FloorOffset + 24, uint32_t(floor.NumSteps));
    const auto* actor = reinterpret_cast<const float*>(&header.actor);
    for (size_t i = 0; i < ActorFloats; i++)
        WriteLittleEndianFloat(out + ActorOffset + 4 * i, actor[i]);
}

void EncodeRawRecord(const RawRecord& record, uint8_t out[RawRecordSize])
{
    Put64(out, uint64_t(record.time));
    WriteLittleEndian32(out + RecordFlagsOffset, record.flags);
    WriteLittleEndian32(out + RecordMarkOffset, RawRecordMark);
    std::memcpy(out + RecordDatagramOffset, record.datagram.data(), SUIT_PACKET_SIZE);
}

std::string ParseRawTake(const uint8_t* data, size_t size, RawTake* take)
{
    *take = RawTake{};
    if (size < sizeof RawTakeMagic || std::memcmp(data, RawTakeMagic, sizeof RawTakeMagic) != 0)
        return "not a raw take (it does not begin with the raw take signature)";
    if (size < RawTakeHeaderSize)
        return "the raw take is cut inside its header";
    uint32_t version = ReadLittleEndian32(data + 8);
    if (version != RawTakeVersion)
        return "raw take format version " + std::to_string(version) +
               "; this program reads version " + std::to_string(RawTakeVersion);
    if (ReadLittleEndian32(data + 12) != RawTakeHeaderSize ||
        ReadLittleEndian32(data + 16) != RawRecordSize)
        return "the raw take's header and record sizes do not match its version";
    RawTakeHeader& header = take->header;
    header.positionSensor = (ReadLittleEndian32(data + FlagsOffset) & 1) != 0;
    header.nominalRate = ReadLittleEndianFloat(data + RateOffset);
    if (!std::isfinite(header.nominalRate) || header.nominalRate < 1.0f)
        return "the raw take's nominal rate is not a number of frames per second of at least 1";
    header.calibrationAt = int64_t(Get64(data + CalibrationOffset));
    std::memcpy(header.suitName, data + NameOffset, SuitNameSize - 1);
    header.suitName[SuitNameSize - 1] = '\0';
    FloorGeometry& floor = header.floor;
    floor.dzdx = ReadLittleEndianFloat(data + FloorOffset);
    floor.dzdy = ReadLittleEndianFloat(data + FloorOffset + 4);
    floor.z0 = ReadLittleEndianFloat(data + FloorOffset + 8);
    floor.min = ReadLittleEndianFloat(data + FloorOffset + 12);
    floor.max = ReadLittleEndianFloat(data + FloorOffset + 16);
    floor.clamp = int32_t(ReadLittleEndian32(data + FloorOffset + 20));
    floor.NumSteps = int32_t(ReadLittleEndian32(data + FloorOffset + 24));
    auto* actor = reinterpret_cast<float*>(&header.actor);
    for (size_t i = 0; i < ActorFloats; i++)
        actor[i] = ReadLittleEndianFloat(data + ActorOffset + 4 * i);

    size_t at = RawTakeHeaderSize;
    take->records.reserve((size - at) / RawRecordSize);
    for (; size - at >= RawRecordSize; at += RawRecordSize) {
        const uint8_t* bytes = data + at;
        if (ReadLittleEndian32(bytes + RecordMarkOffset) != RawRecordMark)
            break;
        RawRecord& record = take->records.emplace_back();
        record.time = int64_t(Get64(bytes));
        record.flags = ReadLittleEndian32(bytes + RecordFlagsOffset);
        std::memcpy(record.datagram.data(), bytes + RecordDatagramOffset, SUIT_PACKET_SIZE);
    }
    take->ignoredBytes = size - at;
    return "";
}

std::string ReadRawTake(const std::string& path, RawTake* take)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return SystemError("cannot open " + path);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (in.bad())
        return SystemError("cannot read " + path);
    std::string problem = ParseRawTake(bytes.data(), bytes.size(), take);
    return problem.empty() ? "" : path + ": " + problem;
}

RawTakeWriter::~RawTakeWriter()
{
    Close();
}

std::string RawTakeWriter::Open(const std::string& path)
{
    file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0)
        return SystemError("cannot create " + path);
    start = MonotonicNanoseconds();
    queue.reserve(1024);
    writing.reserve(1024);
    thread = std::thread([this] { Run(); });
    return "";
}

void RawTakeWriter::SetHeader(const RawTakeHeader& given)
{
    std::lock_guard hold(lock);
    int64_t calibrationAt = header.calibrationAt;
    header = given;
    // The calibrations seen so far outrank the caller's.
    if (calibrationAt != RawNoCalibration)
        header.calibrationAt = calibrationAt;
    headerSet = true;
    headerDirty = true;
}

int64_t RawTakeWriter::Clock()
{
    return MonotonicNanoseconds();
}

void RawTakeWriter::Add(int64_t time, const uint8_t* datagram)
{
    std::lock_guard hold(lock);
    RawRecord& record = queue.emplace_back();
    record.time = time;
    std::memcpy(record.datagram.data(), datagram, SUIT_PACKET_SIZE);
    count++;
    lastTime = time;
    lastFlags = 0;
}

void RawTakeWriter::Mark(uint32_t flags)
{
    std::lock_guard hold(lock);
    if (count == 0)
        return;
    lastFlags |= flags;
    if (!queue.empty()) {
        queue.back().flags = lastFlags;
    } else {
        rewriteIndex = count - 1;
        rewriteFlags = lastFlags;
        rewritePending = true;
    }
    if (flags & (RawCalibratedBefore | RawCalibratedAfter)) {
        header.calibrationAt = lastTime;
        headerDirty = true;
    }
}

void RawTakeWriter::MarkCalibration()
{
    uint32_t flag;
    {
        std::lock_guard hold(lock);
        flag = lastFlags & RawSolved ? RawCalibratedAfter : RawCalibratedBefore;
    }
    Mark(flag);
}

uint64_t RawTakeWriter::Records() const
{
    std::lock_guard hold(lock);
    return count;
}

bool RawTakeWriter::Flush()
{
    uint8_t head[RawTakeHeaderSize];
    bool writeHead = false;
    bool rewrite = false;
    uint64_t index = 0;
    uint32_t flags = 0;
    {
        std::lock_guard hold(lock);
        // Records wait for the header, which names what they are.
        if (!headerSet)
            return true;
        writing.clear();
        std::swap(writing, queue);
        if (headerDirty)
            EncodeRawTakeHeader(header, head);
        writeHead = headerDirty;
        headerDirty = false;
        rewrite = rewritePending;
        index = rewriteIndex;
        flags = rewriteFlags;
        rewritePending = false;
    }
    bool ok = true;
    if (writeHead)
        ok = WriteAll(file, head, RawTakeHeaderSize, 0);
    if (rewrite) {
        uint8_t bytes[4];
        WriteLittleEndian32(bytes, flags);
        off_t at = off_t(RawTakeHeaderSize + index * RawRecordSize + RecordFlagsOffset);
        ok = ok && WriteAll(file, bytes, 4, at);
    }
    if (!writing.empty()) {
        std::vector<uint8_t> bytes(writing.size() * RawRecordSize);
        for (size_t i = 0; i < writing.size(); i++)
            EncodeRawRecord(writing[i], bytes.data() + i * RawRecordSize);
        ok = ok && WriteAll(file, bytes.data(), bytes.size(),
                            off_t(RawTakeHeaderSize + written * RawRecordSize));
        written += writing.size();
    }
    if (ok && (writeHead || rewrite || !writing.empty()))
        ok = fdatasync(file) == 0;
    if (!ok) {
        std::lock_guard hold(lock);
        if (error.empty())
            error = std::strerror(errno);
    }
    return ok;
}

void RawTakeWriter::Run()
{
    std::unique_lock hold(lock);
    while (!stopping) {
        wake.wait_for(hold, FlushInterval, [this] { return stopping; });
        hold.unlock();
        Flush();
        hold.lock();
    }
}

std::string RawTakeWriter::Close()
{
    if (file < 0)
        return error;
    {
        std::lock_guard hold(lock);
        stopping = true;
    }
    wake.notify_all();
    thread.join();
    Flush();
    if (close(file) != 0 && error.empty())
        error = std::strerror(errno);
    file = -1;
    return error;
}
