#pragma once

#include <QString>

// Orders recent-style folder names by their number: "2" before "10".
bool compareForSort_QStringInt(const QString& a, const QString& b);
