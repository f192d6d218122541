#include "tests/platform/child_process.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kv::test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    int toChild[2], fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0)
        return;
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        return;
    }
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    pid_ = pid;
    in_ = toChild[1];
    out_ = fromChild[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && ::waitpid(pid_t(pid_), nullptr, WNOHANG) == 0) {
        ::kill(pid_t(pid_), SIGKILL);
        ::waitpid(pid_t(pid_), nullptr, 0);
    }
    if (in_ >= 0)
        ::close(in_);
    if (out_ >= 0)
        ::close(out_);
}

std::string ChildProcess::readLine(int timeoutMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        const size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        pollfd p{out_, POLLIN, 0};
        if (out_ < 0 || left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0)
            return {};
        char chunk[512];
        const ssize_t n = ::read(out_, chunk, sizeof chunk);
        if (n <= 0)
            return {};
        buffer_.append(chunk, size_t(n));
    }
}

void ChildProcess::writeLine(const std::string& line) {
    const std::string data = line + "\n";
    if (in_ >= 0 && ::write(in_, data.data(), data.size()) < 0)
        return;
}

int ChildProcess::finish() {
    if (in_ >= 0) {
        ::close(in_);
        in_ = -1;
    }
    int status = 0;
    if (pid_ <= 0 || ::waitpid(pid_t(pid_), &status, 0) != pid_t(pid_))
        return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace kv::test
