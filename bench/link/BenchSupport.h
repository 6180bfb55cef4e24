#pragma once
// What the link benchmarks share: the phone they measure against, a full SIM behind a line of kBaud with
// kLatencyMs before each answer, and the least time such a line needs for what went over it.
#include "link/LinkWorker.h"
#include "link/PhoneEmulator.h"

#include <functional>

namespace BenchSupport {
constexpr int kSimEntries = 250;
constexpr int kBaud = 115200;
constexpr int kLatencyMs = 20;

// The emulator's speed: kBaud, and kLatencyMs before each answer.
PhoneEmulatorOptions PhoneSpeed();
// A SIM whose kSimEntries locations all hold an entry; nameOf(i) names location i.
EmulatorState FullSim(const std::function<QString(int)>& nameOf);
// What went over the line between two readings of the link's counters.
LinkCounters Spent(const LinkCounters& before, const LinkCounters& after);
// The bytes at kBaud / 10 bytes per second plus one latency per command: no link can be faster.
double WireLimit(const LinkCounters& spent);
}
