#pragma once

#include <QString>

class QIODevice;

// Small text files are read whole and decoded as UTF-8 up to the first NUL byte.
QString readTextUpToNul(QIODevice& device);

// The same for a file by path; an empty text when it cannot be opened.
QString readTextFile(const QString& path, bool* opened = nullptr);
