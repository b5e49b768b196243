// Start-up to the first frame on screen, and the peak memory at that moment, of programs run
// alternately under X with first_frame_exit preloaded (it ends a program at its first frame).
//
//   startup_bench RUNS PRELOAD NAME=PROGRAM...
//
// Each program is run once to warm the caches, then RUNS times, the programs taking turns. For
// each it prints one line: NAME time_ms=MEDIAN rss_kib=MEDIAN runs=RUNS. The time is from just
// before the process is made to its end, as the parent sees it; the memory is its peak resident
// set (wait4's ru_maxrss).

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Program {
    std::string name;
    std::string path;
    std::vector<double> times;
    std::vector<double> memory;
};

struct Run {
    double milliseconds = 0;
    long peakKib = 0;
};

// Runs one program to its first frame; exits with a message when it ends any other way.
Run runOnce(const Program& program, const std::string& preload, int attempt = 1) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        std::exit(2);
    }
    if (child == 0) {
        setenv("LD_PRELOAD", preload.c_str(), 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // A program that never shows a frame is stopped after 30 s.
    int status = 0;
    rusage usage{};
    for (int waited = 0;; ++waited) {
        const pid_t ended = wait4(child, &status, WNOHANG, &usage);
        if (ended == child) {
            break;
        }
        if (ended < 0 && errno != EINTR) {
            std::perror("wait4");
            std::exit(2);
        }
        if (waited == 30000) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            std::fprintf(stderr, "%s showed no frame in 30 s\n", program.name.c_str());
            std::exit(1);
        }
        usleep(1000 / 4);
    }
    const auto end = std::chrono::steady_clock::now();
    // A busy X server now and then refuses a connection, and the program aborts before it has
    // done anything: that run is run again.
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT && attempt < 3) {
        std::fprintf(stderr, "%s aborted (refused by the X server?); running it again\n",
                     program.name.c_str());
        return runOnce(program, preload, attempt + 1);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s (%s) ended without a frame (status %d)\n", program.name.c_str(),
                     program.path.c_str(), status);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RUNS PRELOAD NAME=PROGRAM...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::string preload = argv[2];
    std::vector<Program> programs;
    for (int i = 3; i < argc; ++i) {
        const char* equals = std::strchr(argv[i], '=');
        if (equals == nullptr) {
            std::fprintf(stderr, "not NAME=PROGRAM: %s\n", argv[i]);
            return 2;
        }
        programs.push_back(
            {std::string(argv[i], std::size_t(equals - argv[i])), equals + 1, {}, {}});
    }
    for (const Program& program : programs) {
        runOnce(program, preload); // warm-up
    }
    for (int run = 0; run < runs; ++run) {
        for (Program& program : programs) {
            const Run result = runOnce(program, preload);
            program.times.push_back(result.milliseconds);
            program.memory.push_back(double(result.peakKib));
        }
    }
    for (const Program& program : programs) {
        std::printf("%s time_ms=%.1f rss_kib=%.0f runs=%d\n", program.name.c_str(),
                    median(program.times), median(program.memory), runs);
    }
    return 0;
}
