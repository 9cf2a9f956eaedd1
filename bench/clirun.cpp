// dorvane-cli as a user runs it: start-up to the first byte on a
// pseudo-terminal, periodic sending at 1 ms with the high-resolution timing,
// and a --duration capture of a 100 MB TCP flood. Prints a table.
//
//   bench_clirun PATH/TO/dorvane-cli
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Pty
{
    int master = -1;
    std::string slave;
    Pty()
    {
        int s = -1;
        char name[256] = {};
        if (openpty(&master, &s, name, nullptr, nullptr) != 0)
            return;
        termios tio{};
        tcgetattr(s, &tio);
        cfmakeraw(&tio);
        tcsetattr(s, TCSANOW, &tio);
        close(s);
        slave = name;
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~Pty()
    {
        if (master >= 0)
            close(master);
    }
};

// Starts the program with its stdout and stderr into files; the child's pid.
pid_t spawn(const std::vector<std::string> &args, const char *errPath)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        const int err = open(errPath, O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(null, 1);
        dup2(err >= 0 ? err : null, 2);
        std::vector<char *> argv;
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

int waitFor(pid_t pid, long *maxRssKb = nullptr)
{
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (maxRssKb)
        *maxRssKb = usage.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readFile(const char *path)
{
    std::string text;
    if (FILE *f = std::fopen(path, "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

void startupToFirstByte(const std::string &program)
{
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        Pty pty;
        const Clock::time_point start = Clock::now();
        const pid_t pid = spawn({program, "--serial", pty.slave, "--hex", "55", "--quiet"}, "/dev/null");
        // Until the program opens the slave the master reports a hang-up, so
        // only a byte read counts.
        char byte;
        while (msSince(start) < 5000) {
            if (read(pty.master, &byte, 1) == 1) {
                times.push_back(msSince(start));
                break;
            }
            pollfd p{pty.master, POLLIN, 0};
            if (poll(&p, 1, 1) == 1 && (p.revents & POLLHUP))
                usleep(100);
        }
        waitFor(pid);
    }
    std::sort(times.begin(), times.end());
    if (times.empty()) {
        std::printf("start-up to first byte: no byte arrived\n");
        return;
    }
    std::printf("| start-up to first byte on a pty (20 runs) | median %.1f ms, max %.1f ms |\n",
                times[times.size() / 2], times.back());
}

void periodicHires(const std::string &program)
{
    Pty pty;
    const char *errPath = "/tmp/bench_clirun_stats.txt";
    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn({program, "--serial", pty.slave, "--hex", "55", "--count", "10000", "--interval",
                             "1", "--timing", "hires", "--stats", "--quiet"},
                            errPath);
    long received = 0;
    char buffer[4096];
    int status = -1;
    for (;;) {
        pollfd p{pty.master, POLLIN, 0};
        poll(&p, 1, 50);
        ssize_t n;
        while ((n = read(pty.master, buffer, sizeof buffer)) > 0)
            received += n;
        int st = 0;
        if (waitpid(pid, &st, WNOHANG) == pid) {
            status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
            break;
        }
    }
    ssize_t n;
    while ((n = read(pty.master, buffer, sizeof buffer)) > 0)
        received += n;
    std::string stats = readFile(errPath);
    while (!stats.empty() && stats.back() == '\n')
        stats.pop_back();
    // The figures take a few lines; the table cell takes them on one.
    for (char &c : stats)
        if (c == '\n')
            c = ' ';
    std::printf(
        "| --count 10000 --interval 1 --timing hires | exit %d, %ld of 10000 bytes at the pty, %.2f s |\n",
        status, received, msSince(start) / 1000.0);
    std::printf("| --stats | %s |\n", stats.c_str());
    unlink(errPath);
}

void tcpFlood(const std::string &program)
{
    constexpr long long total = 100LL * 1024 * 1024;
    const int server = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int one = 1;
    setsockopt(server, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    bind(server, reinterpret_cast<sockaddr *>(&address), sizeof address);
    listen(server, 1);
    socklen_t length = sizeof address;
    getsockname(server, reinterpret_cast<sockaddr *>(&address), &length);
    const int port = ntohs(address.sin_port);

    std::atomic<double> sentMs{0};
    std::thread flood([&] {
        const int client = accept(server, nullptr, nullptr);
        const Clock::time_point start = Clock::now();
        std::vector<char> block(64 * 1024);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = char(i * 7);
        long long sent = 0;
        while (sent < total) {
            const ssize_t n
                = send(client, block.data(), std::min<long long>(block.size(), total - sent), MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += n;
        }
        sentMs = msSince(start);
        // Keep the connection until the program leaves: a closed peer is a lost channel.
        char c;
        while (recv(client, &c, 1, 0) > 0) {
        }
        close(client);
    });

    const char *capture = "/tmp/bench_clirun_flood.bin";
    const pid_t pid = spawn({program, "--tcp", "127.0.0.1:" + std::to_string(port), "--duration", "8",
                             "--capture", capture, "--quiet"},
                            "/dev/null");
    long rssKb = 0;
    const int status = waitFor(pid, &rssKb);
    flood.join();
    close(server);
    struct stat info
    {
    };
    stat(capture, &info);
    std::printf("| --duration 8 capture of a 100 MB TCP flood | exit %d, %lld of %lld bytes in the .bin, "
                "flood sent in %.0f ms, peak RSS %ld MB |\n",
                status, static_cast<long long>(info.st_size), total, sentMs.load(), rssKb / 1024);
    unlink(capture);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PATH/TO/dorvane-cli\n", argv[0]);
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    std::printf("| dorvane-cli | figure |\n|---|---|\n");
    startupToFirstByte(argv[1]);
    periodicHires(argv[1]);
    tcpFlood(argv[1]);
    return 0;
}
