#include "tests/support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdint>

namespace test_support {

namespace {

double seconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

}  // namespace

ProcessRun run_process(const ProcessRequest& request)
{
    ProcessRun run;
    // Everything the child needs is made before the fork: after it only async-signal-safe calls.
    std::string program = request.program.string();
    std::string folder = request.folder.string();
    std::vector<char*> argv;
    argv.push_back(program.data());
    std::vector<std::string> arguments = request.arguments;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    std::array<int, 2> pipe_ends{};
    if (::pipe2(pipe_ends.data(), O_CLOEXEC) != 0)
        return run;
    auto started = std::chrono::steady_clock::now();
    pid_t child = ::fork();
    if (child == 0) {
        int nothing = ::open("/dev/null", O_RDWR);
        ::dup2(nothing, STDIN_FILENO);
        ::dup2(pipe_ends[1], STDOUT_FILENO);
        ::dup2(request.errors == ErrorOutput::WithOutput ? pipe_ends[1] : nothing, STDERR_FILENO);
        if (!folder.empty() && ::chdir(folder.c_str()) != 0)
            ::_exit(127);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipe_ends[1]);
    if (child < 0) {
        ::close(pipe_ends[0]);
        return run;
    }
    run.started = true;

    auto deadline = started + request.limit;
    auto left_ms = [&] {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        return static_cast<int>(std::max<std::int64_t>(left.count(), 0));
    };
    std::array<char, 4096> buffer{};
    for (;;) {
        pollfd readable{pipe_ends[0], POLLIN, 0};
        int ready = ::poll(&readable, 1, left_ms());
        if (ready == 0) {
            run.timed_out = true;
            break;
        }
        if (ready < 0)
            continue;  // interrupted
        ssize_t got = ::read(pipe_ends[0], buffer.data(), buffer.size());
        if (got <= 0)
            break;
        run.output.append(buffer.data(), static_cast<std::size_t>(got));
    }
    ::close(pipe_ends[0]);

    int status = 0;
    rusage usage{};
    // The output closed: the program ends now, or holds on past the limit.
    while (!run.timed_out && ::wait4(child, &status, WNOHANG, &usage) == 0) {
        if (left_ms() == 0)
            run.timed_out = true;
        else
            ::usleep(10000);
    }
    if (run.timed_out) {
        ::kill(child, SIGKILL);
        ::wait4(child, &status, 0, &usage);
    } else if (WIFEXITED(status)) {
        run.exit_code = WEXITSTATUS(status);
    }
    run.cpu_seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.wall_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return run;
}

std::filesystem::path built_program(const std::string& name)
{
    return std::filesystem::path(CERTMAKER_BINARY_DIR) / "bin" / name;
}

}  // namespace test_support
