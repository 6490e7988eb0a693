// Runs the built demonstration program as a child process and checks what it
// writes and how it exits.
#include <fcntl.h>
#include <gtest/gtest.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kExpectedOutput[] =
    "2.500000 +j3.000000\n"
    "c= \n"
    "mag= 1.09813\tang= 0.50918\n";
const char kWriteFailure[] = "Error: could not write to standard output\n";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

struct DemoRun {
    int status;
    std::string out;  // what reached the file, for Stdout::kFile
    std::string err;
};

#ifdef _WIN32
// Runs the demo with `arguments`, its standard output and error in files:
// the child inherits this process's, pointed at them for the while. Each
// argument is quoted, as the C runtime joins them into one command line; the
// text files' line ends come back as \n.
DemoRun runDemo(const std::vector<std::string>& arguments) {
    const std::string base = testing::TempDir() + "demo_" + std::to_string(_getpid());
    const std::string paths[] = {base + "_stdout", base + "_stderr"};
    std::fflush(stdout);
    std::fflush(stderr);
    int saved[2];
    for (int fd : {1, 2}) {
        saved[fd - 1] = _dup(fd);
        const int file = _open(paths[fd - 1].c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY,
                               _S_IREAD | _S_IWRITE);
        _dup2(file, fd);
        _close(file);
    }
    const char* const command[] = {DEMO_COMMAND};
    std::vector<std::string> quoted;
    for (const char* word : command) quoted.push_back(std::string("\"") + word + "\"");
    for (const std::string& argument : arguments) quoted.push_back("\"" + argument + "\"");
    std::vector<const char*> argv;
    for (const std::string& word : quoted) argv.push_back(word.c_str());
    argv.push_back(nullptr);
    const intptr_t status = _spawnv(_P_WAIT, command[0], argv.data());
    for (int fd : {1, 2}) {
        _dup2(saved[fd - 1], fd);
        _close(saved[fd - 1]);
    }
    std::string written[2];
    for (int i : {0, 1}) {
        written[i] = readFile(paths[i]);
        written[i].erase(std::remove(written[i].begin(), written[i].end(), '\r'), written[i].end());
        std::remove(paths[i].c_str());
    }
    return {static_cast<int>(status), written[0], written[1]};
}
#else
// Where the demo's standard output goes.
enum class Stdout { kFile, kDevFull, kClosed };

// Points the calling (child) process's standard output where `target` says.
void redirectStdout(Stdout target, const std::string& outPath) {
    switch (target) {
        case Stdout::kFile:
            dup2(open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
            break;
        case Stdout::kDevFull:
            dup2(open("/dev/full", O_WRONLY), STDOUT_FILENO);
            break;
        case Stdout::kClosed:
            close(STDOUT_FILENO);
            break;
    }
}

// Runs the demo with `arguments`, its files limited to `fileSizeLimit` bytes
// (a write beyond fails with EFBIG, SIGXFSZ being ignored). Standard error
// comes back through a pipe, which no file-size limit touches.
DemoRun runDemo(const std::vector<std::string>& arguments, Stdout target = Stdout::kFile,
                rlim_t fileSizeLimit = RLIM_INFINITY) {
    // Named after this process: tests run in parallel share the directory.
    const std::string outPath = testing::TempDir() + "demo_stdout_" + std::to_string(getpid());
    std::remove(outPath.c_str());
    int errPipe[2];
    if (pipe(errPipe) != 0) return {-1, "", "pipe failed"};
    const pid_t child = fork();
    if (child == 0) {
        dup2(errPipe[1], STDERR_FILENO);
        close(errPipe[0]);
        close(errPipe[1]);
        redirectStdout(target, outPath);
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        // The demo's path, after the emulator that runs it on a cross build.
        const char* const command[] = {DEMO_COMMAND};
        std::vector<char*> argv;
        for (const char* word : command) argv.push_back(const_cast<char*>(word));
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(errPipe[1]);
    std::string err;
    char chunk[256];
    for (ssize_t n; (n = read(errPipe[0], chunk, sizeof chunk)) > 0;)
        err.append(chunk, static_cast<std::size_t>(n));
    close(errPipe[0]);
    int raw = 0;
    waitpid(child, &raw, 0);
    const std::string out = readFile(outPath);
    std::remove(outPath.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, out, err};
}
#endif

TEST(Demo, WritesTheThreeLinesAndIgnoresArguments) {
    const std::vector<std::string> argumentLists[] = {
        {}, {"extra", "--arguments", "42"}, {"", "-"}};
    for (const auto& arguments : argumentLists) {
        const DemoRun run = runDemo(arguments);
        EXPECT_EQ(run.status, 0) << arguments.size();
        EXPECT_EQ(run.out, kExpectedOutput) << arguments.size();
        EXPECT_EQ(run.err, "") << arguments.size();
    }
}

// Each line is flushed as it is written, so a write that fails on the last
// line alone is caught too: a file of 24 bytes takes the first two lines only.
TEST(Demo, ReportsFailureWhenStandardOutputCannotBeWritten) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no /dev/full and no file-size limit, and closes no standard "
                    "output for a child";
#else
    const struct {
        Stdout target;
        rlim_t fileSizeLimit;
        const char* written;
    } cases[] = {
        {Stdout::kDevFull, RLIM_INFINITY, ""},
        {Stdout::kClosed, RLIM_INFINITY, ""},
        {Stdout::kFile, 24, "2.500000 +j3.000000\nc= \n"},
    };
    for (const auto& c : cases) {
        const DemoRun run = runDemo({}, c.target, c.fileSizeLimit);
        EXPECT_EQ(run.status, 1) << static_cast<int>(c.target);
        EXPECT_EQ(run.err, kWriteFailure) << static_cast<int>(c.target);
        EXPECT_EQ(run.out, c.written) << static_cast<int>(c.target);
    }
#endif
}

}  // namespace
