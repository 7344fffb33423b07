// The frames a suit delivers while a take runs. The frame callback runs on
// the library's receive thread with the library lock held, so it only
// appends and counts; the recorder reads the counts from its own thread.
#pragma once

#include "tools/cli/raw_take.h"
#include "varnel.h"

#include <atomic>
#include <cstdint>

class FrameCapture {
  public:
    FrameCapture() = default;
    // Detaches: no frame reaches the capture once it is gone.
    ~FrameCapture();
    FrameCapture(const FrameCapture&) = delete;
    FrameCapture& operator=(const FrameCapture&) = delete;

    // The frame callback to open suits with: a frame callback carries no
    // context, so it finds the capture attached to the suit's handle.
    static void OnFrame(const SkeletonFrame* pose, VarnelHandle suit);
    // The suit's frames reach this capture from now on.
    void Attach(VarnelHandle suit);

    // Appends every frame from now on to take, up to frameLimit (0: none).
    void Start(Skeleton& take, uint64_t frameLimit);
    void Stop() { recording.store(false); }
    // Marks each frame kept in the suit's raw take as well.
    void KeepRawMarks(RawTakeWriter* writer) { raw = writer; }

    uint64_t Delivered() const { return delivered.load(); }
    uint64_t Recorded() const { return recorded.load(); }
    int64_t LastFrameAt() const { return lastFrameAt.load(); }
    bool LimitReached() const { return limitReached.load(); }
    bool OutOfMemory() const { return outOfMemory.load(); }

  private:
    void Deliver(const SkeletonFrame& pose);
    void Keep(const SkeletonFrame& pose);

    Skeleton* take = nullptr;
    RawTakeWriter* raw = nullptr;
    uint64_t frameLimit = 0;
    std::atomic<bool> recording{false};
    std::atomic<uint64_t> delivered{0}; // every frame the suit produced
    std::atomic<uint64_t> recorded{0};
    // A silent suit ends the take only after the silence: the take's time
    // ends at its last frame.
    std::atomic<int64_t> lastFrameAt{0};
    std::atomic<bool> limitReached{false};
    std::atomic<bool> outOfMemory{false};
};
