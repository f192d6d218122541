#pragma once
// A child process driven over its standard input and output, for tests that need a real
// second process. The child is killed and reaped when the object goes.
#include <string>
#include <vector>

namespace kv::test {

class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    long pid() const { return pid_; }
    // The next line the child prints, without its line end; empty after the timeout.
    std::string readLine(int timeoutMs = 10000);
    void writeLine(const std::string& line);
    // Closes the child's input and waits for it to end; its exit status.
    int finish();

private:
    long pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffer_;
};

} // namespace kv::test
