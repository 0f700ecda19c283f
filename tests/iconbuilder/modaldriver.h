#pragma once

// Drives a modal dialog while its exec() runs: polls for the active modal widget of
// type T and hands it to `act`. A dialog that never shows fails the wait, not the run.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

template <typename T>
void whenModal(std::function<void(T*)> act, int timeoutMs = 5000)
{
    auto* timer = new QTimer;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, act, timeoutMs] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        const bool shown = dialog && dialog->isVisible();
        if (!shown && !clock.hasExpired(timeoutMs))
            return;
        timer->stop();
        timer->deleteLater();
        if (shown)
            return act(dialog);
        qWarning("whenModal: the expected dialog did not appear");
        if (QWidget* other = QApplication::activeModalWidget())
            other->close();
    });
    timer->start(10);
}
