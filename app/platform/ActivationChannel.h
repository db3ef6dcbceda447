#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <memory>

class QLocalSocket;

// The running copy's main window listens on the local socket "Q745" (in the markers' folder);
// a copy started while it runs finds it there and asks it to come to the front.
class ActivationChannel : public QObject {
    Q_OBJECT

public:
    static constexpr const char* ServerName = "Q745";

    // path: the socket's full path.
    explicit ActivationChannel(QString path, QObject* parent = nullptr);
    ~ActivationChannel() override;

    // Whether a running copy listens (its main window exists).
    bool runningCopyListens() const;
    // Asks the running copy to restore and raise its main window; false when none answered.
    bool requestActivation() const;

    // Listens for the requests of later copies. A socket file left by a copy that died is
    // replaced.
    bool listen();
    bool listening() const { return server_ && server_->isListening(); }

Q_SIGNALS:
    void activationRequested();

private:
    void acceptConnections();
    void readRequest(QLocalSocket* socket);

    QString path_;
    std::unique_ptr<QLocalServer> server_;
};
