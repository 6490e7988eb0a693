// Runs the built demonstration program through the shell and checks what it
// writes and how it exits.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

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
    std::string out;
    std::string err;
};

// Runs the demo with `arguments`; `stdoutRedirect` replaces the default
// redirection of standard output to a file, to make writing fail.
DemoRun runDemo(const std::string& arguments, const std::string& stdoutRedirect = "") {
    const std::string outPath = testing::TempDir() + "demo_stdout";
    const std::string errPath = testing::TempDir() + "demo_stderr";
    std::remove(outPath.c_str());
    const std::string command = std::string("'") + DEMO_PATH + "' " + arguments + " " +
                                (stdoutRedirect.empty() ? ">'" + outPath + "'" : stdoutRedirect) +
                                " 2>'" + errPath + "'";
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return {status, readFile(outPath), readFile(errPath)};
}

TEST(Demo, WritesTheThreeLinesAndIgnoresArguments) {
    for (const char* arguments : {"", "extra --arguments 42", "'' -"}) {
        const DemoRun run = runDemo(arguments);
        EXPECT_EQ(run.status, 0) << arguments;
        EXPECT_EQ(run.out, kExpectedOutput) << arguments;
        EXPECT_EQ(run.err, "") << arguments;
    }
}

TEST(Demo, ReportsFailureWhenStandardOutputCannotBeWritten) {
    for (const char* redirect : {">/dev/full", ">&-"}) {
        const DemoRun run = runDemo("", redirect);
        EXPECT_EQ(run.status, 1) << redirect;
        EXPECT_EQ(run.err, kWriteFailure) << redirect;
    }
}

}  // namespace
