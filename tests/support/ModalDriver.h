#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Acts as the operator on the next modal window: once a modal window that `wanted` accepts
// (any, without it) is on screen and enabled, `action` runs on it (from inside its event loop).
// A window disabled while it works (a search run as it opens) is waited for, as an operator
// waits, and the action never runs inside that work. Fails the
// test when none appears within timeoutMs. An action stopped by a failed assertion leaves its
// window open, so the window is closed then: the test fails instead of waiting for ever.
inline void whenModalShown(std::function<void(QWidget*)> action, int timeoutMs = 5000,
                           std::function<bool(QWidget*)> wanted = {}) {
    auto* timer = new QTimer(qApp);
    auto waited = std::make_shared<int>(0);
    constexpr int interval = 10;
    timer->setInterval(interval);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, waited, timeoutMs, action, wanted] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible() && modal->isEnabled() &&
            (!wanted || wanted(modal))) {
            timer->stop();
            timer->deleteLater();
            const QPointer<QWidget> window(modal);
            action(modal);
            if (::testing::Test::HasFatalFailure() && window && window->isVisible()) {
                if (auto* dialog = qobject_cast<QDialog*>(window.data()))
                    dialog->reject();
                else
                    window->close();
            }
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

// The same for the next modal window of class Form; others (a progress window over it while
// it works) are passed over.
template <class Form>
void whenModalShownOf(std::function<void(Form&)> action, int timeoutMs = 5000) {
    whenModalShown([action](QWidget* modal) { action(*qobject_cast<Form*>(modal)); }, timeoutMs,
                   [](QWidget* modal) { return qobject_cast<Form*>(modal) != nullptr; });
}
