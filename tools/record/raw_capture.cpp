#include "tools/record/raw_capture.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace {
struct Waiting {
    VarnelHandle suit;
    int event;
    int64_t at; // monotonic ns
    SuitDatagram datagram;
};

// A suit is attached within moments of opening: this bounds what a suit
// nobody attaches may keep.
constexpr size_t MaxWaiting = 4096;

std::mutex lock;
std::vector<std::pair<VarnelHandle, RawTakeWriter*>> attached;
std::vector<Waiting> waiting;

void Apply(RawTakeWriter& writer, int event, int64_t time, const uint8_t* datagram)
{
    switch (event) {
    case VarnelRawDatagram: writer.Add(time, datagram); break;
    case VarnelRawCalibration: writer.MarkCalibration(); break;
    case VarnelRawSolved: writer.Mark(RawSolved); break;
    case VarnelRawSolvedWithPositionSensor: writer.Mark(RawSolved | RawPositionSensor); break;
    default: break;
    }
}

void OnRaw(VarnelHandle suit, int event, const uint8_t* datagram, void*)
{
    std::lock_guard hold(lock);
    auto found = std::find_if(attached.begin(), attached.end(),
                              [suit](const auto& entry) { return entry.first == suit; });
    if (found != attached.end()) {
        Apply(*found->second, event, found->second->Now(), datagram);
        return;
    }
    if (waiting.size() >= MaxWaiting)
        return;
    Waiting& kept = waiting.emplace_back(Waiting{suit, event, 0, {}});
    kept.at = RawTakeWriter::Clock();
    if (datagram)
        std::copy(datagram, datagram + SUIT_PACKET_SIZE, kept.datagram.begin());
}
} // namespace

void RawCapture::Begin()
{
    {
        std::lock_guard hold(lock);
        attached.clear();
        waiting.clear();
    }
    VarnelSetRawCallback(OnRaw, nullptr);
}

void RawCapture::Attach(VarnelHandle suit, RawTakeWriter* writer)
{
    std::lock_guard hold(lock);
    for (const Waiting& kept : waiting)
        if (kept.suit == suit)
            Apply(*writer, kept.event, writer->Since(kept.at), kept.datagram.data());
    std::erase_if(waiting, [suit](const Waiting& kept) { return kept.suit == suit; });
    attached.emplace_back(suit, writer);
}

void RawCapture::End()
{
    VarnelSetRawCallback(nullptr, nullptr);
    std::lock_guard hold(lock);
    attached.clear();
    waiting.clear();
}
