#include "tools/info/raw_take_description.h"

#include "tools/cli/json_writer.h"
#include "tools/cli/printable_text.h"
#include "tools/cli/raw_take.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>

namespace {
// What the take's records say, counted once for either form.
struct RawTakeCounts {
    double seconds = 0.0; // from the first record to the last
    uint64_t solved = 0, kept = 0;
    std::optional<double> calibratedAt; // seconds into the take
};

RawTakeCounts Count(const RawTake& take)
{
    RawTakeCounts counts;
    if (!take.records.empty())
        counts.seconds = double(take.records.back().time - take.records.front().time) / 1e9;
    for (const RawRecord& record : take.records) {
        counts.solved += (record.flags & RawSolved) ? 1 : 0;
        counts.kept += (record.flags & RawKept) ? 1 : 0;
    }
    if (take.header.calibrationAt != RawNoCalibration)
        counts.calibratedAt = double(take.header.calibrationAt) / 1e9;
    return counts;
}

// As --floor takes it.
std::string FloorText(const FloorGeometry& floor)
{
    char text[160];
    std::snprintf(text, sizeof text, "%g,%g,%g,%g,%g,%d,%d", double(floor.dzdx), double(floor.dzdy),
                  double(floor.z0), double(floor.min), double(floor.max), int(floor.clamp),
                  int(floor.NumSteps));
    return text;
}

std::string SuitName(const RawTakeHeader& header)
{
    return PrintableText(std::string(header.suitName, strnlen(header.suitName, SuitNameSize)));
}

std::string JsonDescription(const NamedFile& file, const RawTake& take, const RawTakeCounts& counts)
{
    JsonWriter json;
    json.BeginObject().Key("file").String(file.name).Key("kind").String("raw");
    json.Key("suit").String(SuitName(take.header)).Key("rate").Number(take.header.nominalRate);
    json.Key("records")
        .Integer(int64_t(take.records.size()))
        .Key("duration")
        .Number(counts.seconds);
    json.Key("solved").Integer(int64_t(counts.solved)).Key("kept").Integer(int64_t(counts.kept));
    json.Key("calibrationAt");
    if (counts.calibratedAt)
        json.Number(*counts.calibratedAt);
    else
        json.Null();
    json.Key("positionSensor").Bool(take.header.positionSensor);
    json.Key("floor").String(FloorText(take.header.floor));
    json.Key("ignoredBytes").Integer(int64_t(take.ignoredBytes));
    return json.EndObject().Text() + "\n";
}
} // namespace

bool IsRawTakeFile(const NamedFile& file)
{
    char magic[sizeof RawTakeMagic] = {};
    std::ifstream input(file.path, std::ios::binary);
    return input.read(magic, sizeof magic) && std::memcmp(magic, RawTakeMagic, sizeof magic) == 0;
}

int DescribeRawTakeFile(const NamedFile& file, std::ostream& out, std::ostream& errors,
                        OutputForm form)
{
    RawTake take;
    std::string error = ReadRawTake(file.path, &take);
    if (!error.empty()) {
        errors << file.Named(error) << "\n";
        return 1;
    }
    RawTakeCounts counts = Count(take);
    if (form == OutputForm::Json) {
        out << JsonDescription(file, take, counts);
        return 0;
    }
    char line[200];
    out << file.name << ": raw take\n";
    out << "Suit: " << SuitName(take.header) << "\n";
    std::snprintf(line, sizeof line, "Nominal rate: %g frames per second\n",
                  double(take.header.nominalRate));
    out << line;
    std::snprintf(line, sizeof line,
                  "Datagrams: %zu over %.3f s (%llu solved, %llu kept in the take)\n",
                  take.records.size(), counts.seconds, (unsigned long long)counts.solved,
                  (unsigned long long)counts.kept);
    out << line;
    if (counts.calibratedAt)
        std::snprintf(line, sizeof line, "Calibrated at: %.3f s\n", *counts.calibratedAt);
    else
        std::snprintf(line, sizeof line, "Calibrated at: never\n");
    out << line;
    out << "Position sensor: " << (take.header.positionSensor ? "yes" : "no") << "\n";
    out << "Floor: " << FloorText(take.header.floor) << " (as --floor takes it)\n";
    if (take.ignoredBytes > 0)
        out << "Cut tail: " << take.ignoredBytes << " bytes after the last whole datagram\n";
    return 0;
}
