#pragma once
// What the web-request tests against nas-sim share: a box put straight into
// the device list, the collection of result messages, and the request log's
// web requests.

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "nas/query.h"
#include "nas/take_query.h"
#include "platform/message_queue_target.h"
#include "support/nas_sim_process.h"

namespace corvesta::test {

// Empties the device list and puts one box with this address into it, at
// index 0, as a discovery would.
void UseSingleDevice(std::string_view ip);

// Frees what a message carries (a stored query, a disk information copy).
void Release(const Message &message);

// Waits for the next message with this number; nothing on time-out.
std::optional<Message> Await(MessageQueueTarget &window, UINT message,
                             std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Messages arriving within `quiet` of each other, the first within `first`;
// each is released after being copied.
std::vector<Message> Collect(MessageQueueTarget &window, std::chrono::milliseconds first,
                             std::chrono::milliseconds quiet);

// The web requests of the log, oldest first.
std::vector<SimRequest> WebRequests(const NasSimProcess &sim);

} // namespace corvesta::test
