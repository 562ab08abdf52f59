#pragma once

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

// The built program started as a player starts it: in a working folder, with the variables
// given added to the test's own and those named in `removed` taken away. What it prints lands
// in "stdout.txt" and "stderr.txt" of the working folder.
class ProgramProcess {
public:
    ProgramProcess(const std::filesystem::path& workingFolder,
                   const std::vector<std::pair<std::string, std::string>>& environment,
                   const std::vector<std::string>& arguments = {},
                   const std::vector<std::string>& removed = {}) {
        m_pid = ::fork();
        if (m_pid != 0)
            return;
        if (::chdir(workingFolder.c_str()) != 0 || !std::freopen("stdout.txt", "w", stdout) ||
            !std::freopen("stderr.txt", "w", stderr))
            ::_exit(126);
        for (const auto& [name, value] : environment)
            ::setenv(name.c_str(), value.c_str(), 1);
        for (const std::string& name : removed)
            ::unsetenv(name.c_str());
        std::vector<char*> argv{const_cast<char*>(VELMORA_PROGRAM)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(VELMORA_PROGRAM, argv.data());
        ::_exit(127);
    }
    ~ProgramProcess() {
        if (m_pid > 0 && !m_exited) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // The exit status, or -1 when the program did not exit by itself within the timeout (it
    // is then killed) or ended by a signal.
    int waitForExit(std::chrono::milliseconds timeout) {
        if (const std::optional<int> status = pollExit(timeout))
            return *status;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_exited = true;
        return -1;
    }

    // The exit status (-1 for a signal) once the program has ended, waiting up to the time
    // given; none while it still runs.
    std::optional<int> pollExit(std::chrono::milliseconds wait) {
        const auto end = std::chrono::steady_clock::now() + wait;
        int status = 0;
        while (::waitpid(m_pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() >= end)
                return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        m_exited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    bool m_exited = false;
};
