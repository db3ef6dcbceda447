#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

class QFile;
class QNetworkReply;

// The HTTP client of the update check and download: a plain GET, into memory or straight into
// a file, directly or through an HTTP proxy. A GET returns when its transfer has ended; the
// event loop runs meanwhile, so the windows stay responsive and the notifications below arrive
// while it waits. Exactly one of succeeded, failed, connectionFailed and aborted ends each
// transfer.
class HttpClient : public QObject {
    Q_OBJECT

public:
    // A transfer in which nothing arrives for this long fails.
    static constexpr int DefaultTransferTimeoutMs = 30000;
    // A body read into memory larger than this fails: the update list is a few lines.
    static constexpr qint64 MaximumBodyBytes = 4 * 1024 * 1024;

    explicit HttpClient(QObject* parent = nullptr);
    ~HttpClient() override;

    // An empty host: no proxy.
    void setProxy(const QString& host, int port);
    QString proxyHost() const { return proxy_.hostName(); }
    int proxyPort() const { return proxy_.port(); }
    void setTransferTimeout(int ms) { timeoutMs_ = ms; }

    // GET into body().
    void get(const QUrl& url);
    // GET written straight into fileName, which is created or emptied first; body() stays
    // empty.
    void getToFile(const QUrl& url, const QString& fileName);
    // Ends the transfer in progress with aborted().
    void abort();
    bool busy() const { return reply_ != nullptr; }

    const QByteArray& body() const { return body_; }
    // Bytes of the body received so far, and the length the server announced (-1: none).
    qint64 bytesReceived() const { return received_; }
    qint64 bytesTotal() const { return total_; }

Q_SIGNALS:
    // The host's address is known and the connection is being made.
    void connecting();
    // The request is on its way; the reply is awaited.
    void connected();
    void dataReceived(qint64 received, qint64 total);
    void succeeded();
    // The server answered, but not with the whole body.
    void failed();
    // No answer: the host is unknown, the connection was refused, nothing came back, or the
    // address is not an http or https one.
    void connectionFailed();
    void aborted();

private:
    void transfer(const QUrl& url);
    void readAvailable();
    void markConnected();

    QNetworkAccessManager manager_;
    QNetworkProxy proxy_{QNetworkProxy::NoProxy};
    int timeoutMs_ = DefaultTransferTimeoutMs;
    QNetworkReply* reply_ = nullptr;
    std::unique_ptr<QFile> file_;
    QByteArray body_;
    qint64 received_ = 0;
    qint64 total_ = -1;
    bool connected_ = false;
    bool abortRequested_ = false;
    bool storeFailed_ = false;
};
