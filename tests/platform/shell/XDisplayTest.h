#pragma once

// A fixture for end-to-end tests on a real X display: it starts a program of ours in the
// background, reads the lines it reports into a file and drives it with xdotool.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace xdisplay {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct CommandResult {
    int exitCode = -1;
    std::string output;
};

inline CommandResult RunShell(const std::string& command)
{
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
        result.output += buffer;
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// True once the process has ended (its parent shell is gone, so nobody may reap it:
// a zombie counts as ended).
inline bool ProcessGone(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return true;
    }
    const size_t close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] == 'Z';
}

inline bool HaveCommand(const char* name) { return RunShell(std::string("command -v ") + name).exitCode == 0; }

inline std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs xdotool, giving up after ten seconds so that a lost window cannot hang the test.
inline int Xdo(const std::string& arguments) { return RunShell("timeout 10 xdotool " + arguments).exitCode; }

// The window ids in xdotool's output. Its warnings come on the same stream (a window
// that closes during a search makes one), and are no ids.
inline std::vector<std::string> WindowIds(const std::string& output)
{
    std::vector<std::string> ids;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            ids.push_back(line);
        }
    }
    return ids;
}

// The id of the first visible window whose name matches the pattern, waiting up to ten
// seconds for it; empty when none came.
inline std::string WaitForWindow(const std::string& namePattern)
{
    const CommandResult found = RunShell("timeout 10 xdotool search --sync --onlyvisible --name '" + namePattern + "'");
    const std::vector<std::string> ids = WindowIds(found.output);
    return found.exitCode == 0 && !ids.empty() ? ids.front() : std::string();
}

// Gives a window the keyboard. There is no window manager under Xvfb, so the focus is
// set directly rather than by activating the window.
inline bool FocusWindow(const std::string& windowId)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (Xdo("windowfocus --sync " + windowId) == 0) {
            return true;
        }
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

class XDisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "DISPLAY is not set: the window tests need an X server (run them under "
                            "scripts/with-xvfb.sh)";
        }
        for (const char* tool : {"xdotool", "import"}) {
            if (!HaveCommand(tool)) {
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";
            }
        }
        static int runs = 0;
        dir_ = fs::temp_directory_path() /
               ("shell-window-test-" + std::to_string(::getpid()) + "-" + std::to_string(++runs));
        fs::create_directories(dir_);
    }

    void TearDown() override
    {
        if (pid_ > 0 && !ProcessGone(pid_)) {
            ::kill(pid_, SIGTERM);
            // The next test's window opens at the same place: let this one go first.
            for (int i = 0; i < 100 && !ProcessGone(pid_); ++i) {
                std::this_thread::sleep_for(20ms);
            }
        }
        if (!dir_.empty()) {
            std::error_code ignored;
            fs::remove_all(dir_, ignored);
        }
    }

    // Starts the program in the background, in the test's folder, with its output in log.txt.
    void Start(const std::string& programAndArguments)
    {
        const std::string command = "cd '" + dir_.string() + "' && " + programAndArguments + " > '" +
                                    (dir_ / "log.txt").string() + "' 2>&1 & echo $!";
        pid_ = std::atoi(RunShell(command).output.c_str());
        ASSERT_GT(pid_, 0);
    }

    std::string ReportPath() const { return (dir_ / "report.txt").string(); }
    std::string Log() const { return ReadFile(dir_ / "log.txt"); }

    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        std::ifstream in(ReportPath());
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    // The first report line matching the pattern that is not older than `from`
    // (a line index), waiting up to the timeout; empty when none came.
    std::string WaitForLine(const std::regex& pattern, std::chrono::milliseconds timeout, size_t from = 0) const
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        do {
            const std::vector<std::string> lines = Lines();
            for (size_t i = from; i < lines.size(); ++i) {
                if (std::regex_match(lines[i], pattern)) {
                    return lines[i];
                }
            }
            std::this_thread::sleep_for(20ms);
        } while (std::chrono::steady_clock::now() < deadline);
        return {};
    }

    bool WaitForExact(const std::string& line, size_t from = 0) const
    {
        const std::regex special("[.^$|()\\[\\]{}*+?\\\\-]");
        return !WaitForLine(std::regex(std::regex_replace(line, special, "\\$&")), 5s, from).empty();
    }

    fs::path dir_;
    pid_t pid_ = 0;
};

} // namespace xdisplay
