#pragma once

#include <map>
#include <string>
#include <vector>

// Another program started by a test, with variables added to this process's environment.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment);
    // Waits for the end; the exit code, or -1 when it did not end normally.
    int wait();
    // Its standard output and error together, once it has ended.
    const std::string& output() const { return output_; }

private:
    int pid_ = -1;
    int pipe_ = -1;
    std::string output_;
};
