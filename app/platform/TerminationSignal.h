#pragma once

#include <QObject>
#include <memory>

class QSocketNotifier;

// The session is ending: SIGTERM, SIGINT or SIGHUP arrive as the signal terminationRequested
// on the user-interface thread (through a pipe written by the signal handler), so that the
// program can end as at a normal exit. One instance per process.
class TerminationSignal : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

Q_SIGNALS:
    void terminationRequested();

private:
    void readPipe();

    std::unique_ptr<QSocketNotifier> notifier_;
};
