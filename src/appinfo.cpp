#include "appinfo.h"

#include <QCoreApplication>

namespace appinfo {

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Pictavo"));
    QCoreApplication::setOrganizationName(QStringLiteral("Pictavo.org"));
    QCoreApplication::setOrganizationDomain(QCoreApplication::organizationName().toLower());
    QCoreApplication::setApplicationVersion(QStringLiteral("2.9"));
}

}
