#include "tools/stream/vmc_sender.h"

#include "tools/cli/monotonic_clock.h"

#include <arpa/inet.h>
#include <lo/lo.h>

namespace {
// The receivers' report of a performer that has a calibrated, tracked avatar:
// loaded, calibrated, normal calibration mode, tracking.
constexpr int32_t Loaded = 1, Calibrated = 3, NormalMode = 0, Tracking = 1;

lo_message TransformMessage(const char* name, const VmcTransform& t)
{
    lo_message message = lo_message_new();
    lo_message_add_string(message, name);
    for (float p : t.position)
        lo_message_add_float(message, p);
    for (float q : t.rotation)
        lo_message_add_float(message, q);
    return message;
}
} // namespace

VmcSender::~VmcSender()
{
    Stop();
    for (void* address : addresses)
        lo_address_free(address);
}

std::string VmcSender::Open(const std::vector<Destination>& targets)
{
    for (const Destination& target : targets) {
        // Resolved here, where a bad name can still be told; liblo would
        // only fail each send.
        uint32_t resolved = 0;
        std::string error = ResolveIpv4(target.host, &resolved);
        if (!error.empty())
            return error;
        char host[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &resolved, host, sizeof host);
        std::string port = std::to_string(target.port);
        lo_address address = lo_address_new(host, port.c_str());
        if (!address)
            return "cannot send to " + target.host + ":" + port;
        addresses.push_back(address);
    }
    return "";
}

void VmcSender::Start(const Skeleton& skeleton, uint64_t limit)
{
    // Only the offsets are read: the frames stay with the caller.
    body = skeleton;
    body.frames = nullptr;
    body.numFrames = 0;
    frameLimit = limit;
    start = MonotonicNanoseconds();
    {
        std::lock_guard<std::mutex> hold(queueLock);
        running = true;
        stopping = false;
    }
    thread = std::thread([this] { Run(); });
}

void VmcSender::Stop()
{
    {
        std::lock_guard<std::mutex> hold(queueLock);
        stopping = true;
    }
    queueReady.notify_one();
    if (thread.joinable())
        thread.join();
    std::lock_guard<std::mutex> hold(queueLock);
    running = false;
}

void VmcSender::Offer(const SkeletonFrame& frame)
{
    int64_t now = MonotonicNanoseconds();
    {
        std::lock_guard<std::mutex> hold(queueLock);
        if (!running || stopping)
            return;
        if (frameLimit != 0 && offered.load() >= frameLimit) {
            limitReached.store(true);
            return;
        }
        if (count == Capacity) {
            head = (head + 1) % Capacity;
            count--;
            skipped.fetch_add(1);
        }
        queue[(head + count) % Capacity] = Queued{frame, now};
        count++;
        offered.fetch_add(1);
    }
    queueReady.notify_one();
}

void VmcSender::Run()
{
    for (;;) {
        Queued next;
        {
            std::unique_lock<std::mutex> hold(queueLock);
            queueReady.wait(hold, [this] { return count > 0 || stopping; });
            if (count == 0)
                return;
            next = queue[head];
            head = (head + 1) % Capacity;
            count--;
        }
        Send(next);
    }
}

void VmcSender::Send(const Queued& queued)
{
    VmcPoseFromFrame(body, queued.frame, &pose);
    lo_bundle bundle = lo_bundle_new(LO_TT_IMMEDIATE);
    lo_bundle_add_message(bundle, "/VMC/Ext/Root/Pos", TransformMessage("root", pose.root));
    for (int bone = 0; bone < VmcBoneCount; bone++)
        lo_bundle_add_message(bundle, "/VMC/Ext/Bone/Pos",
                              TransformMessage(VmcBoneName(bone), pose.bones[bone]));
    lo_message ok = lo_message_new();
    for (int32_t value : {Loaded, Calibrated, NormalMode, Tracking})
        lo_message_add_int32(ok, value);
    lo_bundle_add_message(bundle, "/VMC/Ext/OK", ok);
    lo_message time = lo_message_new();
    lo_message_add_float(time, float(double(queued.at - start) / NanosecondsPerSecond));
    lo_bundle_add_message(bundle, "/VMC/Ext/T", time);
    bool everyTarget = true;
    // A target where nothing listens refuses later sends (ECONNREFUSED);
    // the others still get the frame, and it gets the next one.
    for (void* address : addresses)
        if (lo_send_bundle(address, bundle) < 0) {
            failures.fetch_add(1);
            everyTarget = false;
        }
    if (everyTarget)
        sent.fetch_add(1);
    lo_bundle_free_recursive(bundle);
}
