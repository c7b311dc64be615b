#pragma once
// Helpers of the tests that run the UDP exchanges against nas-sim.

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "nas/query.h"
#include "nas/take_query.h"
#include "nas/udp/discovery.h"
#include "platform/message_queue_target.h"

namespace corvesta::test {

// Runs a discovery (for `target`, when given) and returns its finished
// query (its result message already taken); null when no result came within
// `timeout`.
std::unique_ptr<CQuery> Discover(MessageQueueTarget &window,
                                 std::chrono::milliseconds timeout = std::chrono::seconds(40),
                                 DiscoveryTarget target = {});

// The position of the box with this name in the device list, or -1.
int DeviceIndexByName(std::string_view name);

// The current request tag's ten bytes.
std::string CurrentTagBytes();

// The ten bytes of a box's wire identity: hardware address ("aa:bb:...")
// then IPv4 address ("a.b.c.d").
std::string WireIdBytes(std::string_view mac, std::string_view ip);

// Four little-endian bytes.
std::string LittleEndian32(std::uint32_t value);

} // namespace corvesta::test
