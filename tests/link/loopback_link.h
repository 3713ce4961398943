// Loopback set-ups the link reader tests share: a reader connected to a fake
// phone that has answered the greeting, and a port nothing listens on.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>

#include "link/link_reader.h"
#include "tests/link/fake_phone.h"

// Scripts `phone` to answer the greeting with an empty configuration and to
// count frames from the end of the greeting, starts it and connects `reader`
// to it over loopback TCP. Anything the phone should do later must be
// scripted before this call.
::testing::AssertionResult ConnectToGreetingPhone(fake::FakePhone& phone, LinkReader& reader);

// A loopback port that was free a moment ago and has no listener now.
uint16_t UnusedLoopbackPort();
