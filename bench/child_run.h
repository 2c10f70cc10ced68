#pragma once

// A child process measured by wait4: wall time, CPU time (user and system)
// and peak resident memory.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

struct ChildRun {
    int status = -1;  // exit status, or 128 + signal; -1 when the child could not be waited for
    double wallSeconds = 0;
    double cpuSeconds = 0;
    long peakKilobytes = 0;
};

// Waits for the child `pid`, started at `start`, and measures it.
inline ChildRun WaitForChild(pid_t pid, std::chrono::steady_clock::time_point start) {
    ChildRun run;
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return run;
    run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peakKilobytes = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

// Runs `program` with `args`, standard input and output on /dev/null (and
// standard error too unless `keepStderr`), and measures it.
inline ChildRun RunMeasured(const std::string& program, const std::vector<std::string>& args, bool keepStderr) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        if (!keepStderr) dup2(null, STDERR_FILENO);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return WaitForChild(pid, start);
}
