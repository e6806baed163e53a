#include "textfile.h"

#include <QFile>

QString readTextUpToNul(QIODevice& device)
{
    const QByteArray bytes = device.readAll();
    const int nul = bytes.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
}

QString readTextFile(const QString& path, bool* opened)
{
    QFile file(path);
    const bool ok = file.open(QIODevice::ReadOnly);
    if (opened)
        *opened = ok;
    return ok ? readTextUpToNul(file) : QString();
}
