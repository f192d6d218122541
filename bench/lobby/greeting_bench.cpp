// 100 peers join one host at once over loopback: each connects, sends its nick and waits
// for the host's greeting (up to its "kdgconfig"). Reported: the time until every peer is
// greeted, the host's worst event-loop stall, as the lateness of a 10 ms timer, and
// whether the greetings ended in the order the peers connected.
// The peers are plain blocking sockets on their own thread, like other machines.
#include "common/dialogless_ui.h"
#include "launcher/launcher.h"
#include "launcher/startup.h"
#include "launcher/lobby_wiring.h"
#include "lobby/lobby.h"
#include "platform/registry.h"
#include "tools/demo/demo_world.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kPeers = 100;

class SilentUi : public kv::DialoglessUi {
public:
    kv::Answer message(const std::string&, kv::Icon, kv::Buttons, const std::string&) override {
        return kv::Answer::No;
    }
    std::optional<std::string> input(const std::string&, const std::string&,
                                     const std::string&) override {
        return "Host";
    }
};

double threadCpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

std::uint16_t freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Every peer: connect, send the nick, read until the host's "kdgconfig" has come. Sets
// `greeted` to how many were, then keeps the connections until `stop`: their leaving is
// not part of the greeting.
void runPeers(std::uint16_t port, std::atomic<bool>& stop, std::atomic<int>& greetedCount) {
    std::vector<int> fds;
    std::vector<std::string> got(kPeers);
    std::vector<bool> greeted(kPeers, false);
    for (int i = 0; i < kPeers; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            fds.push_back(-1);
            continue;
        }
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        const std::string nick =
            "nickname||10.0.1." + std::to_string(i) + "||Peer" + std::to_string(i);
        (void)::send(fd, nick.data(), nick.size(), MSG_NOSIGNAL);
        fds.push_back(fd);
    }
    int count = 0;
    while (count < kPeers && !stop) {
        std::vector<pollfd> polled;
        for (int fd : fds)
            polled.push_back({fd, POLLIN, 0});
        if (::poll(polled.data(), polled.size(), 100) <= 0)
            continue;
        for (int i = 0; i < kPeers; ++i) {
            if (fds[size_t(i)] < 0 || !(polled[size_t(i)].revents & POLLIN))
                continue;
            char buffer[4096];
            const ssize_t n = ::recv(fds[size_t(i)], buffer, sizeof buffer, 0);
            if (n <= 0) {
                ::close(fds[size_t(i)]);
                fds[size_t(i)] = -1;
                continue;
            }
            got[size_t(i)].append(buffer, size_t(n));
            if (!greeted[size_t(i)] && got[size_t(i)].find("kdgconfig||") != std::string::npos) {
                greeted[size_t(i)] = true;
                ++count;
            }
        }
    }
    greetedCount = count;
    while (!stop)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    for (int fd : fds)
        if (fd >= 0)
            ::close(fd);
}

void BM_HundredPeersGreeted(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "lobby_greeting_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);

    const std::string root =
        (std::filesystem::temp_directory_path() / ("kv-lobby-bench-" + std::to_string(::getpid())))
            .string();
    kv::demo::DemoWorld world;
    std::string error;
    if (!kv::demo::writeDemoWorld(root, true, world, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    SilentUi ui;
    auto registry = kv::platform::makeRegistryBackend(root + "/registry.reg");
    for (auto _ : state) {
        kv::Launcher host(world.launcherFolder, ui, *registry, {});
        host.lobby.port = freePort();
        host.lobby.localAddress = "127.0.0.1";
        kv::wireLobby(host);
        kv::runStartup(host, "");
        host.lobby.session->chooseHost();

        // The 10 ms timer's worst lateness is the longest time the host did not let events
        // run.
        QElapsedTimer sinceTick;
        qint64 worstStall = 0;
        // The host thread's own CPU time between two ticks: the stall without the time a
        // busy machine gave to other programs.
        double lastCpuMs = threadCpuMs();
        double worstBusy = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            worstStall = std::max(worstStall, sinceTick.elapsed() - 10);
            sinceTick.restart();
            const double cpuMs = threadCpuMs();
            worstBusy = std::max(worstBusy, cpuMs - lastCpuMs);
            lastCpuMs = cpuMs;
        });
        // The connections whose greeting ended, in the order the host ended them; the
        // host numbers connections in the order it accepted them.
        std::vector<int> finished;
        QObject::connect(host.lobby.session.get(), &kv::lobby::Lobby::sent,
                         [&finished](int connection, const std::string& message) {
                             if (message.rfind("kdgconfig||", 0) == 0)
                                 finished.push_back(connection);
                         });
        std::atomic<bool> stop = false;
        std::atomic<int> greeted = -1;
        QElapsedTimer clock;
        clock.start();
        sinceTick.start();
        ticker.start(10);
        std::thread peers([&] { runPeers(host.lobby.port, stop, greeted); });
        while (greeted < 0 && clock.elapsed() < 300000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        const double seconds = double(clock.elapsed()) / 1000.0;
        ticker.stop();
        stop = true;
        peers.join();
        state.SetIterationTime(seconds);
        state.counters["greeted"] = double(greeted.load());
        state.counters["all_greeted_s"] = seconds;
        state.counters["worst_stall_ms"] = double(worstStall);
        state.counters["worst_busy_ms"] = worstBusy;
        int okRows = 0;
        for (const auto& row : host.lobby.rows)
            okRows += row.configuration == "OK";
        state.counters["ok_rows"] = okRows;
        state.counters["in_order"] =
            std::is_sorted(finished.begin(), finished.end()) && int(finished.size()) == kPeers;
        if (std::getenv("KV_BENCH_ROWS"))
            for (const auto& row : host.lobby.rows)
                std::fprintf(stderr, "%s|%s|%s\n", row.ip.c_str(), row.user.c_str(),
                             row.configuration.c_str());
        host.lobby.session->leave();
    }
    std::filesystem::remove_all(root);
}

// The same 10 ms timer on an idle event loop for 10 s: the machine's own share of the
// stall, to set the figure above against on a shared machine.
void BM_IdleStall(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "lobby_greeting_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    for (auto _ : state) {
        QElapsedTimer sinceTick;
        qint64 worstStall = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            worstStall = std::max(worstStall, sinceTick.elapsed() - 10);
            sinceTick.restart();
        });
        QElapsedTimer clock;
        clock.start();
        sinceTick.start();
        ticker.start(10);
        while (clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        state.counters["worst_stall_ms"] = double(worstStall);
    }
}

} // namespace

BENCHMARK(BM_IdleStall)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_HundredPeersGreeted)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
