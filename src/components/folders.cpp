#include "folders.h"

#include "cocoastandin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QVarLengthArray>

QString getResourcesPath()
{
    static const QString resourcesPath = getBundleResourcesPath();
    return resourcesPath;
}

QString getApplicationSettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::DataLocation);
}

bool removeDir(const QString& dirName)
{
    QDir dir(dirName);
    if (!dir.exists(dirName))
        return true;
    // Unreadable entries are left alone, but links are listed whatever they
    // point at (even nowhere), so that they can be removed as links.
    const QFileInfoList entries = dir.entryInfoList(
        QDir::NoDotAndDotDot | QDir::AllDirs | QDir::System | QDir::Hidden | QDir::Files, QDir::DirsFirst);
    for (const QFileInfo& entry : entries) {
        bool removed;
        if (entry.isSymLink()) {
            removed = QFile::remove(entry.absoluteFilePath());
        } else if (!entry.isReadable()) {
            continue;
        } else if (entry.isDir()) {
            removed = removeDir(entry.absoluteFilePath());
        } else {
            QFile::setPermissions(entry.absoluteFilePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            removed = QFile::remove(entry.absoluteFilePath());
        }
        if (!removed)
            return false;
    }
    return dir.rmdir(dirName);
}

QString getBundleResourcesPath()
{
    return NSStringToQString(NSBundle::mainBundle()->resourcePath());
}

QString NSStringToQString(const NSString* string)
{
    if (!string)
        return QString();
    const CFIndex length = CFStringGetLength(string);
    if (const UniChar* direct = CFStringGetCharactersPtr(string))
        return QString(reinterpret_cast<const QChar*>(direct), static_cast<int>(length));
    // Up to 256 units on the stack, a heap buffer of exactly the length
    // beyond that (allocation failure goes through qBadAlloc).
    QVarLengthArray<UniChar, 256> buffer(static_cast<int>(length));
    CFStringGetCharacters(string, CFRangeMake(0, length), buffer.data());
    return QString(reinterpret_cast<const QChar*>(buffer.constData()), static_cast<int>(length));
}

class CocoaInitializer::Private {
public:
    NSAutoreleasePool* autoReleasePool = nullptr;
};

CocoaInitializer::CocoaInitializer()
    : d(new Private)
{
    NSApplicationLoad();
    d->autoReleasePool = NSAutoreleasePool::alloc()->init();
}

CocoaInitializer::~CocoaInitializer()
{
    d->autoReleasePool->release();
    delete d;
}
