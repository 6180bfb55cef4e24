#include "BenchSupport.h"

namespace BenchSupport {
PhoneEmulatorOptions PhoneSpeed()
{
    PhoneEmulatorOptions options;
    options.baud = kBaud;
    options.latencyMs = kLatencyMs;
    return options;
}

EmulatorState FullSim(const std::function<QString(int)>& nameOf)
{
    EmulatorState state = EmulatorState::blank();
    EmulatorStorage sm = *state.storage("SM");
    for (int i = 1; i <= kSimEntries; ++i)
        sm.entries.insert(i, EmulatorEntry{nameOf(i), QStringLiteral("+49%1").arg(301000000 + i * 7919)});
    state.setStorage("SM", sm);
    return state;
}

LinkCounters Spent(const LinkCounters& before, const LinkCounters& after)
{
    return {after.commands - before.commands, after.bytesSent - before.bytesSent,
            after.bytesReceived - before.bytesReceived};
}

double WireLimit(const LinkCounters& spent)
{
    return (spent.bytesSent + spent.bytesReceived) / (kBaud / 10.0) + spent.commands * (kLatencyMs / 1000.0);
}
}
