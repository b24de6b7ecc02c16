// The program `zarvin` as a user starts it: on the stand-in keyboard and the offscreen platform,
// in temporary per-user folders. One instance per user, the second start, "/Kill", a crashed
// instance's socket, and the stand-in's memory across runs.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/InstanceChannel.h"
#include "support/TempFolder.h"

extern char** environ;

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kWait = 20s;  // generous for a loaded machine; the runs take a fraction of it

// One run of a program, its standard error kept in a file.
class ProgramRun {
public:
    ProgramRun(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment, const fs::path& errorFile) {
        // Everything the child needs is made before the fork.
        std::vector<std::string> argv{program};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<std::string> env = environment;
        std::vector<char*> args;
        for (std::string& argument : argv) {
            args.push_back(argument.data());
        }
        args.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : env) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        const int err = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        const int out = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(err, STDERR_FILENO);
            ::dup2(out, STDOUT_FILENO);
            ::execve(program.c_str(), args.data(), envp.data());
            ::_exit(127);
        }
        ::close(err);
        ::close(out);
    }
    ~ProgramRun() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    // The exit status once the program has ended within `wait`; nothing while it runs.
    std::optional<int> Wait(std::chrono::milliseconds wait = kWait) {
        const auto until = std::chrono::steady_clock::now() + wait;
        while (!status_) {
            int status = 0;
            const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
            if (ended == pid_) {
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            } else if (std::chrono::steady_clock::now() >= until) {
                break;
            } else {
                std::this_thread::sleep_for(10ms);
            }
        }
        return status_;
    }
    bool Running() { return !Wait(0ms); }
    void Kill(int signal) { ::kill(pid_, signal); }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

class ZarvinProgram : public ::testing::Test {
protected:
    ZarvinProgram() {
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string_view text(*entry);
            if (!text.starts_with("XDG_") && !text.starts_with("DISPLAY=") &&
                !text.starts_with("WAYLAND_DISPLAY=") && !text.starts_with("QT_QPA_PLATFORM=") &&
                !text.starts_with("HOME=")) {
                environment_.emplace_back(text);
            }
        }
        for (const char* folder : {"data", "config", "cache", "runtime"}) {
            fs::create_directories(temp_ / folder);
        }
        fs::permissions(temp_ / "runtime", fs::perms::owner_all);
        environment_.push_back("HOME=" + temp_.Path().string());
        environment_.push_back("XDG_DATA_HOME=" + (temp_ / "data").string());
        environment_.push_back("XDG_CONFIG_HOME=" + (temp_ / "config").string());
        environment_.push_back("XDG_CACHE_HOME=" + (temp_ / "cache").string());
        environment_.push_back("XDG_RUNTIME_DIR=" + (temp_ / "runtime").string());
    }

    std::unique_ptr<ProgramRun> Start(const std::vector<std::string>& arguments,
                                      const char* program = ZARVIN_PROGRAM) {
        std::vector<std::string> environment = environment_;
        environment.push_back("QT_QPA_PLATFORM=offscreen");
        return std::make_unique<ProgramRun>(program, arguments, environment, temp_ / "stderr");
    }

    // Started, and the running instance once it listens and has read the stand-in keyboard
    // into its cache file (before that, opening its window would show the "no keyboard" box).
    std::unique_ptr<ProgramRun> StartInstance(const std::vector<std::string>& arguments) {
        auto run = Start(arguments);
        const auto until = std::chrono::steady_clock::now() + kWait;
        while (run->Running() &&
               !(Listening() && fs::exists(temp_ / "data/VX77HUE_8246/$Profile0")) &&
               std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_TRUE(Listening()) << Errors();
        EXPECT_TRUE(run->Running()) << Errors();
        return run;
    }

    // Someone takes connections on the socket (a socket left behind refuses them).
    bool Listening() const {
        const UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, SocketPath().c_str(), sizeof address.sun_path - 1);
        return ::connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }

    fs::path SocketPath() const { return InstanceSocketPath(temp_ / "runtime"); }
    std::string Errors() const { return temp_.Read("stderr"); }

    test::TempFolder temp_;
    std::vector<std::string> environment_;
};

TEST_F(ZarvinProgram, ASecondStartOpensTheFirstAndKillEndsIt) {
    auto first = StartInstance({"--simulate"});

    EXPECT_EQ(Start({})->Wait(), 0) << Errors();
    EXPECT_TRUE(first->Running()) << Errors();

    EXPECT_EQ(Start({"/kill"})->Wait(), 0) << Errors();
    EXPECT_EQ(first->Wait(), 0) << Errors();
    EXPECT_FALSE(fs::exists(SocketPath()));
    EXPECT_TRUE(fs::exists(temp_ / "data/VX77HUE_8246/stand-in-keyboard-126.img"));
}

// Without a keyboard, a second start makes the running instance show its "no keyboard" box and
// waits for it; "/Kill" or a termination signal then still ends both through the exit path.
TEST_F(ZarvinProgram, KillAndTerminationEndTheInstanceWhileItsBoxIsOpen) {
    for (const bool bySignal : {false, true}) {
        auto first = Start({});
        const auto until = std::chrono::steady_clock::now() + kWait;
        while (first->Running() && !Listening() && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(10ms);
        }
        ASSERT_TRUE(Listening()) << Errors();
        // Answered only once the window runs, with its signal handlers in place: a slow start
        // cannot take the signal below for an early one.
        ASSERT_EQ(SendInstanceRequest(SocketPath(), InstanceRequest::Reload), SendResult::Handled)
            << Errors();
        auto second = Start({});
        // Time for the second start to reach the first, even on a loaded machine.
        EXPECT_FALSE(second->Wait(1500ms)) << "the second start waits for the box; " << Errors();

        if (bySignal) {
            first->Kill(SIGTERM);
        } else {
            EXPECT_EQ(Start({"/Kill"})->Wait(), 0) << Errors();
        }
        EXPECT_EQ(first->Wait(), 0) << "signal: " << bySignal << "; " << Errors();
        EXPECT_EQ(second->Wait(), 0) << Errors();
    }
}

TEST_F(ZarvinProgram, KillWithoutARunningInstanceEndsWithZero) {
    EXPECT_EQ(Start({"/Kill"})->Wait(), 0) << Errors();
}

TEST_F(ZarvinProgram, ACrashedInstanceNeverBlocksANewStart) {
    auto crashed = StartInstance({"--simulate"});
    crashed->Kill(SIGKILL);
    crashed->Wait();
    ASSERT_TRUE(fs::exists(SocketPath())) << "the crash should leave the socket behind";

    auto next = StartInstance({"--simulate"});
    EXPECT_EQ(Start({"--kill"})->Wait(), 0) << Errors();
    EXPECT_EQ(next->Wait(), 0) << Errors();
}

TEST_F(ZarvinProgram, TheStandInKeepsWhatWasSetAcrossRuns) {
    ASSERT_EQ(Start({"--simulate", "profile", "2"}, ZARVINCTL_PROGRAM)->Wait(), 0) << Errors();
    auto window = StartInstance({"--simulate"});
    EXPECT_EQ(Start({"/Kill"})->Wait(), 0) << Errors();
    EXPECT_EQ(window->Wait(), 0) << Errors();

    const fs::path out = temp_ / "profile.out";
    const std::string command =
        std::string(ZARVINCTL_PROGRAM) + " --simulate profile > " + out.string();
    ASSERT_EQ(ProgramRun("/bin/sh", {"-c", command}, environment_, temp_ / "stderr").Wait(), 0);
    EXPECT_EQ(temp_.Read("profile.out"), "2\n") << Errors();
}

TEST_F(ZarvinProgram, WithoutADisplayItSaysSoAndFails) {
    ProgramRun run(ZARVIN_PROGRAM, {"--simulate"}, environment_, temp_ / "stderr");
    EXPECT_EQ(run.Wait(), 1);
    EXPECT_NE(Errors().find("no display"), std::string::npos) << Errors();
    EXPECT_FALSE(fs::exists(SocketPath()));
}

}  // namespace
}  // namespace zarvin
