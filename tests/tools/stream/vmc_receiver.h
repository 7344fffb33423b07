// A VMC receiver for the tests: liblo's own OSC server on a free loopback
// port, which decodes what the sender encodes on a path of its own, and
// gathers each bundle into one received frame.
#pragma once

#include "tests/tools/stream/humanoid_check.h"

#include <lo/lo.h>

#include <chrono>
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
    VmcReceiver()
    {
        server = lo_server_new_with_proto(nullptr, LO_UDP, nullptr);
        EXPECT_NE(server, nullptr);
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
            ReceivedBone bone{{argv[4]->f, argv[5]->f, argv[6]->f, argv[7]->f},
                              {argv[1]->f, argv[2]->f, argv[3]->f}};
            if (p == "/VMC/Ext/Root/Pos") {
                frame.root = bone;
                frame.rootMessages++;
            } else {
                frame.bones[&argv[0]->s] = bone;
            }
        } else if (p == "/VMC/Ext/OK" && !t.empty() && t.find_first_not_of('i') == t.npos) {
            for (int i = 0; i < argc; i++)
                frame.ok.push_back(argv[i]->i);
        } else if (p == "/VMC/Ext/T" && t == "f") {
            frame.time = argv[0]->f;
        } else {
            frame.malformed++;
        }
        return 0;
    }

    lo_server server = nullptr;
    bool inBundle = false;
    ReceivedFrame current;
};
