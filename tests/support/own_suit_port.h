// A test program that includes this gives the library a free suit port of
// its own before its first test, so that tests running at once on one
// machine (CTest runs each case as a program) never hear each other's suits
// or fail to bind. Test suits and simulators send to SuitPort().
#pragma once

#include "suitlink/suit_port.h"
#include "tests/support/loopback_socket.h"

#include <gtest/gtest.h>

class OwnSuitPort : public testing::Environment {
  public:
    void SetUp() override { SetSuitPortForTesting(FreeUdpPort()); }
    void TearDown() override { SetSuitPortForTesting(0); }
};

inline testing::Environment* const OwnSuitPortRegistration =
    testing::AddGlobalTestEnvironment(new OwnSuitPort);
