#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Acts as the operator on the next modal window: once a modal window is on screen, `action`
// runs on it (from inside its event loop). Fails the test when none appears within
// timeoutMs; the caller then usually hangs no longer than that, as the action closes it.
inline void whenModalShown(std::function<void(QWidget*)> action, int timeoutMs = 5000) {
    auto* timer = new QTimer(qApp);
    auto waited = std::make_shared<int>(0);
    constexpr int interval = 10;
    timer->setInterval(interval);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, waited, timeoutMs, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
            return;
        }
        *waited += interval;
        if (*waited >= timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal window appeared";
        }
    });
    timer->start();
}
