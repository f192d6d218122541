#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests: each path answers with a fixed status
// and body, or misbehaves on purpose (closes half way, never answers, trickles a byte at a
// time, sends no length, redirects). It runs
// in the test's thread and is served whenever the code under test serves the event loop.
#include <QTcpServer>

#include <map>
#include <string>
#include <vector>

namespace kv::test {

struct HttpRoute {
    enum class Kind { Answer, CloseHalfWay, NeverAnswer, Trickle, Unsized, Redirect };
    Kind kind = Kind::Answer;
    int status = 200;
    std::string body;
    std::string location; // for Redirect
};

class HttpTestServer : public QObject {
public:
    HttpTestServer();

    // The base address, "http://127.0.0.1:PORT".
    std::string base() const;
    std::string url(const std::string& path) const { return base() + path; }

    void serve(const std::string& path, std::string body, int status = 200);
    void closeHalfWay(const std::string& path, std::string body);
    void neverAnswer(const std::string& path);
    // A byte every 50 ms, without end.
    void trickle(const std::string& path);
    // The body without a Content-Length header; the closed connection ends it.
    void serveUnsized(const std::string& path, std::string body);
    void redirect(const std::string& path, const std::string& location);

    // The paths asked for, in order.
    const std::vector<std::string>& requests() const { return requests_; }

private:
    void answer(class QTcpSocket* socket, const std::string& path);

    QTcpServer server_;
    std::map<std::string, HttpRoute> routes_;
    std::vector<std::string> requests_;
};

} // namespace kv::test
