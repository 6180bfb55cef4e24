#include "res/ProgramNames.h"

#include <QCoreApplication>

namespace ProgramNames {
void Apply()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Telvora PRO"));
    QCoreApplication::setApplicationVersion(Version());
}

QString Version()
{
    return QStringLiteral("1.1.03");
}
}
