// A VMC receiver for the tests: liblo's own OSC server on a free loopback
// port, which decodes what the sender encodes on a path of its own, and
// gathers each bundle into one received frame.
#pragma once

#include "tests/tools/stream/humanoid_check.h"

#include <lo/lo.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
#include <string>
#include <vector>

struct ReceivedFrame {
    std::map<std::string, ReceivedBone> bones;
    int rootMessages = 0;
    ReceivedBone root;
    std::vector<int> ok; // the arguments of /VMC/Ext/OK
    float time = -1.0f;
    int malformed = 0; // messages of an unknown path or argument types
};

class VmcReceiver {
  public:
    // On a free port, or on the port given if it is free (Port() is 0 if not).
    explicit VmcReceiver(uint16_t port = 0)
    {
        std::string wanted = std::to_string(port);
        server = lo_server_new_with_proto(port ? wanted.c_str() : nullptr, LO_UDP, nullptr);
        EXPECT_TRUE(server || port);
        if (!server)
            return;
        lo_server_add_bundle_handlers(server, BundleStart, BundleEnd, this);
        lo_server_add_method(server, nullptr, nullptr, Message, this);
    }
    ~VmcReceiver()
    {
        if (server)
            lo_server_free(server);
    }
    VmcReceiver(const VmcReceiver&) = delete;
    VmcReceiver& operator=(const VmcReceiver&) = delete;

    uint16_t Port() const { return server ? uint16_t(lo_server_get_port(server)) : 0; }

    // Receives until `count` bundles have come or `seconds` pass.
    void ReceiveFrames(size_t count, double seconds)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (server && frames.size() < count && std::chrono::steady_clock::now() < end)
            lo_server_recv_noblock(server, 20);
    }

    // Receives until done is set, then whatever is still queued.
    void ReceiveUntil(const std::atomic<bool>& done)
    {
        while (server && !done.load())
            lo_server_recv_noblock(server, 20);
        while (server && lo_server_recv_noblock(server, 0) > 0) {
        }
    }

    std::vector<ReceivedFrame> frames;
    int messagesOutsideBundles = 0;

  private:
    static int BundleStart(lo_timetag, void* self)
    {
        auto* receiver = static_cast<VmcReceiver*>(self);
        receiver->inBundle = true;
        receiver->current = ReceivedFrame{};
        return 0;
    }
    static int BundleEnd(void* self)
    {
        auto* receiver = static_cast<VmcReceiver*>(self);
        receiver->inBundle = false;
        receiver->frames.push_back(receiver->current);
        return 0;
    }
    // liblo's arguments sit at 4-byte offsets in the message, below the
    // alignment of its lo_arg union: they are read by copying their bytes.
    template <typename T> static T Argument(lo_arg* const* argv, int index)
    {
        T value;
        std::memcpy(&value, argv[index], sizeof value);
        return value;
    }
    static float F(lo_arg* const* argv, int index) { return Argument<float>(argv, index); }

    static int Message(const char* path, const char* types, lo_arg** argv, int argc, lo_message,
                       void* self)
    {
        auto* receiver = static_cast<VmcReceiver*>(self);
        if (!receiver->inBundle) {
            receiver->messagesOutsideBundles++;
            return 0;
        }
        ReceivedFrame& frame = receiver->current;
        std::string p = path, t = types;
        if ((p == "/VMC/Ext/Bone/Pos" || p == "/VMC/Ext/Root/Pos") && t == "sfffffff") {
            ReceivedBone bone{{F(argv, 4), F(argv, 5), F(argv, 6), F(argv, 7)},
                              {F(argv, 1), F(argv, 2), F(argv, 3)}};
            if (p == "/VMC/Ext/Root/Pos") {
                frame.root = bone;
                frame.rootMessages++;
            } else {
                frame.bones[reinterpret_cast<const char*>(argv[0])] = bone;
            }
        } else if (p == "/VMC/Ext/OK" && !t.empty() && t.find_first_not_of('i') == t.npos) {
            for (int i = 0; i < argc; i++)
                frame.ok.push_back(Argument<int32_t>(argv, i));
        } else if (p == "/VMC/Ext/T" && t == "f") {
            frame.time = F(argv, 0);
        } else {
            frame.malformed++;
        }
        return 0;
    }

    lo_server server = nullptr;
    bool inBundle = false;
    ReceivedFrame current;
};
