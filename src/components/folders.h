#pragma once

#include <QString>

class NSString;

// The application's resources folder (shipped fonts, font configs, gradient
// catalogue), absolute, without a trailing separator. Computed once on the
// first call, which may come before main().
QString getResourcesPath();

// The per-user data folder (user fonts, recent styles); not created here.
QString getApplicationSettingsPath();

// Deletes a folder with everything in it; true when it is gone or never was.
// Symbolic links inside are removed as links, never followed.
bool removeDir(const QString& dirName);

QString getBundleResourcesPath();
QString NSStringToQString(const NSString* string);

// Loads the platform's application kit and holds an autorelease pool for
// its lifetime.
class CocoaInitializer {
public:
    CocoaInitializer();
    ~CocoaInitializer();
    CocoaInitializer(const CocoaInitializer&) = delete;
    CocoaInitializer& operator=(const CocoaInitializer&) = delete;

private:
    class Private;
    Private* d;
};
