#include "link/tools/PortListing.h"

#include <cstdio>

QString PortListing::line(const PortProbeResult& result)
{
    QString text = result.device;
    if (!result.byId.isEmpty()) text += QStringLiteral(" (%1)").arg(result.byId);
    if (!result.answers) return text + QStringLiteral(": no phone: ") + result.problem;
    const QString identity = QStringList{result.maker, result.model}.join(QLatin1Char(' ')).trimmed();
    // A modem may take AT yet keep its name to itself; it is still worth trying.
    return text + QStringLiteral(": phone answers: ")
        + (identity.isEmpty() ? QStringLiteral("maker and model not told") : identity);
}

int PortListing::run(const QString& root, int timeoutMs)
{
    const QList<PortProbeResult> results = PortProbe::probeAll(root, PortProbe::kDefaultBaud, timeoutMs);
    if (results.isEmpty()) std::printf("No serial devices found.\n");
    for (const PortProbeResult& result : results) std::printf("%s\n", qPrintable(line(result)));
    return 0;
}
