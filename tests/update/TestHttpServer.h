#pragma once

#include <gtest/gtest.h>

#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <functional>
#include <map>

// An HTTP server of the test on 127.0.0.1. It answers each GET by the path of its target, also
// when the target is a whole URL as a proxy receives it, and records the request lines. A body
// may be cut off after `sent` bytes, and may be sent slowly, a chunk at a time.
class TestHttpServer {
public:
    struct Resource {
        QByteArray body;
        qsizetype sent = -1;       // -1: all of it
        qsizetype chunkBytes = 0;  // 0: at once
        int chunkIntervalMs = 0;
    };

    TestHttpServer() {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { answer(*socket); });
        });
    }

    QString url(const QByteArray& path) const {
        return QString("http://127.0.0.1:%1%2").arg(port()).arg(QString::fromLatin1(path));
    }
    int port() const { return server_.serverPort(); }

    std::map<QByteArray, Resource> resources;
    QList<QByteArray> requestLines;

private:
    void answer(QTcpSocket& socket) {
        QByteArray& request = pending_[&socket];
        request += socket.readAll();
        if (!request.contains("\r\n\r\n")) return;
        const QByteArray line = request.left(request.indexOf("\r\n"));
        pending_.erase(&socket);
        requestLines << line;
        QByteArray path = line.split(' ').value(1);
        if (path.startsWith("http://")) path = path.mid(path.indexOf('/', 7));
        const auto found = resources.find(path);
        if (found == resources.end()) {
            socket.write(
                "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket.disconnectFromHost();
            return;
        }
        const Resource& resource = found->second;
        socket.write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " +
                     QByteArray::number(resource.body.size()) + "\r\n\r\n");
        const QByteArray body =
            resource.sent < 0 ? resource.body : resource.body.left(resource.sent);
        if (resource.chunkBytes <= 0) {
            socket.write(body);
            socket.disconnectFromHost();
            return;
        }
        auto* timer = new QTimer(&socket);
        QObject::connect(
            timer, &QTimer::timeout, &socket,
            [&socket, timer, body, chunk = resource.chunkBytes, at = qsizetype(0)]() mutable {
                socket.write(body.mid(at, chunk));
                at += chunk;
                if (at < body.size()) return;
                timer->stop();
                socket.disconnectFromHost();
            });
        timer->start(resource.chunkIntervalMs);
    }

    QTcpServer server_;
    std::map<QTcpSocket*, QByteArray> pending_;
};

// The server on a thread of its own, for tests that wait without running an event loop. Its
// resources are made once its port is known.
class TestHttpServerThread : public QThread {
public:
    using Resources = std::map<QByteArray, TestHttpServer::Resource>;

    explicit TestHttpServerThread(std::function<Resources(int port)> resourcesFor)
        : resourcesFor_(std::move(resourcesFor)) {
        start();
        ready_.acquire();
    }
    ~TestHttpServerThread() override {
        quit();
        wait();
    }
    int port() const { return port_; }

protected:
    void run() override {
        TestHttpServer server;
        port_ = server.port();
        server.resources = resourcesFor_(port_);
        ready_.release();
        exec();
    }

private:
    std::function<Resources(int port)> resourcesFor_;
    QSemaphore ready_;
    int port_ = 0;
};
