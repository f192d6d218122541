#include "tests/support/http_test_server.h"

#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace kv::test {

namespace {

const char* reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

// A negative length writes no Content-Length header.
std::string head(int status, long length, const std::string& extra = {}) {
    return "HTTP/1.1 " + std::to_string(status) + " " + reason(status) +
           (length < 0 ? std::string() : "\r\nContent-Length: " + std::to_string(length)) +
           "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n" + extra + "\r\n";
}

} // namespace

HttpTestServer::HttpTestServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
                request->append(socket->readAll());
                const qsizetype end = request->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                const QList<QByteArray> first = request->left(request->indexOf("\r\n")).split(' ');
                const std::string path = first.size() > 1 ? first[1].toStdString() : "/";
                request->clear();
                answer(socket, path);
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

std::string HttpTestServer::base() const {
    return "http://127.0.0.1:" + std::to_string(server_.serverPort());
}

void HttpTestServer::serve(const std::string& path, std::string body, int status) {
    routes_[path] = {HttpRoute::Kind::Answer, status, std::move(body), {}};
}

void HttpTestServer::closeHalfWay(const std::string& path, std::string body) {
    routes_[path] = {HttpRoute::Kind::CloseHalfWay, 200, std::move(body), {}};
}

void HttpTestServer::neverAnswer(const std::string& path) {
    routes_[path] = {HttpRoute::Kind::NeverAnswer, 200, {}, {}};
}

void HttpTestServer::trickle(const std::string& path) {
    routes_[path] = {HttpRoute::Kind::Trickle, 200, {}, {}};
}

void HttpTestServer::serveUnsized(const std::string& path, std::string body) {
    routes_[path] = {HttpRoute::Kind::Unsized, 200, std::move(body), {}};
}

void HttpTestServer::redirect(const std::string& path, const std::string& location) {
    routes_[path] = {HttpRoute::Kind::Redirect, 302, {}, location};
}

void HttpTestServer::answer(QTcpSocket* socket, const std::string& path) {
    requests_.push_back(path);
    const auto it = routes_.find(path);
    if (it == routes_.end()) {
        const std::string page = "<!DOCTYPE html><html><body>404 Not Found</body></html>";
        socket->write(QByteArray::fromStdString(head(404, long(page.size())) + page));
        socket->disconnectFromHost();
        return;
    }
    const HttpRoute& r = it->second;
    switch (r.kind) {
    case HttpRoute::Kind::Answer:
        socket->write(QByteArray::fromStdString(head(r.status, long(r.body.size())) + r.body));
        break;
    case HttpRoute::Kind::Unsized:
        socket->write(QByteArray::fromStdString(head(r.status, -1) + r.body));
        break;
    case HttpRoute::Kind::Trickle: {
        socket->write(QByteArray::fromStdString(head(200, 1 << 30)));
        auto* timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, [socket] { socket->write("t"); });
        timer->start(50);
        return;
    }
    case HttpRoute::Kind::CloseHalfWay:
        socket->write(QByteArray::fromStdString(head(r.status, long(r.body.size())) +
                                                r.body.substr(0, r.body.size() / 2)));
        break;
    case HttpRoute::Kind::NeverAnswer:
        return;
    case HttpRoute::Kind::Redirect:
        socket->write(QByteArray::fromStdString(head(302, 0, "Location: " + r.location + "\r\n")));
        break;
    }
    socket->disconnectFromHost();
}

} // namespace kv::test
