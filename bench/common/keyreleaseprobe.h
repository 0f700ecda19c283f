#pragma once

// What the keyboard benchmarks share: a focused window that counts the releases of
// one key, and the latency figures from posting a chord to that release.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <vector>

class KeyReleaseProbe : public QWidget
{
public:
    explicit KeyReleaseProbe(int key)
        : m_key(key)
    {
        resize(200, 100);
    }

    // Shows the window and waits until it has the keyboard focus.
    bool focus()
    {
        show();
        activateWindow();
        for (int i = 0; i < 200 && !isActiveWindow(); ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        }
        return isActiveWindow();
    }

    struct Figures
    {
        double median = 0;
        double p99 = 0;
        int lost = 0;  // posts whose release never came: not in the figures
    };

    // Milliseconds from calling post to the key's release reaching this window.
    Figures measure(int count, const std::function<void()>& post)
    {
        std::vector<double> ms;
        ms.reserve(count);
        Figures figures;
        QElapsedTimer timer;
        for (int i = 0; i < count; ++i) {
            const int before = m_releases;
            timer.start();
            post();
            while (m_releases == before && timer.elapsed() < 2000)
                QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
            if (m_releases == before)
                ++figures.lost;
            else
                ms.push_back(timer.nsecsElapsed() / 1e6);
        }
        if (ms.empty())
            return figures;
        std::sort(ms.begin(), ms.end());
        figures.median = ms[ms.size() / 2];
        figures.p99 = ms[std::min(ms.size() - 1, size_t(ms.size() * 0.99))];
        return figures;
    }

protected:
    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (event->key() == m_key && !event->isAutoRepeat())
            ++m_releases;
    }

private:
    int m_key;
    int m_releases = 0;
};
