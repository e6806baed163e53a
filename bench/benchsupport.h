#pragma once

#include <QElapsedTimer>
#include <QVector>

#include <algorithm>
#include <functional>

namespace bench {

inline double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const int mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Runs the body `runs` times and returns the median in milliseconds.
inline double medianMs(int runs, const std::function<void()>& body)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        body();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

}
