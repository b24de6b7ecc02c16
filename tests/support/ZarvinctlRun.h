#pragma once

// zarvinctl run as its own program, in a home of its own, for the tests of what only a whole
// run shows (its exit status, its messages, the files it leaves). Needs ZARVINCTL_PROGRAM.

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/TempFolder.h"

namespace zarvin::test {

struct ProgramRun {
    int status = -1;
    std::string output;  // standard output and error together
};

// zarvinctl with `arguments` (as the shell reads them), its per-user folders under `home`. Its
// first run takes the language from a C locale (English), whatever the tester's own.
inline ProgramRun RunZarvinctl(const TempFolder& home, const std::string& arguments) {
    const std::string command = "env -u XDG_CONFIG_HOME -u LC_ALL -u LC_MESSAGES LANG=C HOME='" +
                                home.Path().string() +
                                "' XDG_DATA_HOME='" + (home / "data").string() +
                                "' XDG_RUNTIME_DIR='" + (home / "run").string() + "' '" +
                                ZARVINCTL_PROGRAM + "' " + arguments + " 2>&1 </dev/null";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    while (const size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
        run.output.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

}  // namespace zarvin::test
