#include "update/HttpClient.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkReply>
#include <QNetworkRequest>

HttpClient::HttpClient(QObject* parent) : QObject(parent) {}

HttpClient::~HttpClient() {
    abort();
}

void HttpClient::setProxy(const QString& host, int port) {
    if (host.isEmpty())
        proxy_ = QNetworkProxy(QNetworkProxy::NoProxy);
    else
        proxy_ = QNetworkProxy(QNetworkProxy::HttpProxy, host, static_cast<quint16>(port));
}

void HttpClient::get(const QUrl& url) {
    file_.reset();
    transfer(url);
}

void HttpClient::getToFile(const QUrl& url, const QString& fileName) {
    file_ = std::make_unique<QFile>(fileName);
    if (!file_->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file_.reset();
        received_ = 0;
        total_ = -1;
        Q_EMIT failed();
        return;
    }
    transfer(url);
    file_.reset();
}

void HttpClient::abort() {
    if (!reply_) return;
    abortRequested_ = true;
    reply_->abort();
}

void HttpClient::markConnected() {
    if (connected_) return;
    connected_ = true;
    Q_EMIT connected();
}

void HttpClient::readAvailable() {
    const QByteArray data = reply_->readAll();
    if (data.isEmpty() || storeFailed_) return;
    if (file_) {
        storeFailed_ = file_->write(data) != data.size();
    } else {
        body_ += data;
        storeFailed_ = body_.size() > MaximumBodyBytes;
    }
    if (storeFailed_) {
        reply_->abort();
        return;
    }
    markConnected();
    received_ += data.size();
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    total_ = length.isValid() ? length.toLongLong() : -1;
    Q_EMIT dataReceived(received_, total_);
}

void HttpClient::transfer(const QUrl& url) {
    abort();
    body_.clear();
    received_ = 0;
    total_ = -1;
    connected_ = false;
    abortRequested_ = false;
    storeFailed_ = false;
    // Only a server is asked: an address of another kind (a local file) reaches none.
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")) {
        Q_EMIT connectionFailed();
        return;
    }

    QNetworkRequest request(url);
    // The body's length is compared with the announced one: no compression in between.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(timeoutMs_);
    manager_.setProxy(proxy_);
    QNetworkReply* reply = manager_.get(request);
    reply_ = reply;

    QEventLoop loop;
    connect(reply, &QNetworkReply::socketStartedConnecting, this, &HttpClient::connecting);
    connect(reply, &QNetworkReply::requestSent, this, &HttpClient::markConnected);
    connect(reply, &QNetworkReply::readyRead, this, &HttpClient::readAvailable);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (reply->isRunning()) loop.exec();
    // The whole application is quitting: its event loops were all told to end.
    if (reply->isRunning()) abort();
    if (!abortRequested_ && !storeFailed_ && reply->bytesAvailable() > 0) readAvailable();
    if (file_ && !file_->flush()) storeFailed_ = true;

    const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    const QNetworkReply::NetworkError error = reply->error();
    reply_ = nullptr;
    reply->disconnect(this);
    reply->deleteLater();
    if (file_) file_->close();

    if (abortRequested_)
        Q_EMIT aborted();
    else if (error == QNetworkReply::NoError && !storeFailed_)
        Q_EMIT succeeded();
    else if (!answered && !storeFailed_)
        Q_EMIT connectionFailed();
    else
        Q_EMIT failed();
}
