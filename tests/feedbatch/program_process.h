#pragma once

// The VEXA32 program itself, run as a scheduler would run it: in a folder
// of its own (the current directory), with its own configuration folder
// (XDG_CONFIG_HOME), offscreen, standard error kept in a file. Killed when
// the test is done with it.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/feed/common/feed_test_support.h"

extern char** environ;

namespace batchtest {

class ProgramProcess {
public:
    // Runs the program in `dir`; its configuration folder is `config_dir`
    // (dir/config when empty).
    ProgramProcess(const std::filesystem::path& dir, const std::string& name,
                   const std::filesystem::path& config_dir = {})
        : stderr_path_(dir / (name + ".err")) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string var = *e;
            if (!var.starts_with("XDG_CONFIG_HOME=") && !var.starts_with("QT_QPA_PLATFORM="))
                env.push_back(var);
        }
        env.push_back("XDG_CONFIG_HOME=" + (config_dir.empty() ? dir / "config" : config_dir).string());
        env.push_back("QT_QPA_PLATFORM=offscreen");
        std::vector<char*> envp;
        for (std::string& var : env) envp.push_back(var.data());
        envp.push_back(nullptr);
        char program[] = VEXA32_PROGRAM;
        char show[] = "1";
        char* argv[] = {program, show, nullptr};
        const std::string directory = dir.string();
        const std::string err = stderr_path_.string();
        pid_ = fork();
        if (pid_ == 0) {
            const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd >= 0) dup2(fd, 2);
            if (chdir(directory.c_str()) != 0) _exit(126);
            execve(program, argv, envp.data());
            _exit(127);
        }
    }
    ~ProgramProcess() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // Waits up to `seconds` for the program to end; its exit code, or -1.
    int WaitForExit(int seconds) {
        for (int i = 0; i < seconds * 100; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }
    void Terminate() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        exited_ = true;
    }
    std::string Errors() const { return feedtest::ReadFile(stderr_path_); }

private:
    std::filesystem::path stderr_path_;
    pid_t pid_ = -1;
    bool exited_ = false;
};

// Waits up to `seconds` for the text to appear in the file.
inline bool WaitForText(const std::filesystem::path& file, const std::string& text, int seconds) {
    for (int i = 0; i < seconds * 100; ++i) {
        if (feedtest::ReadFile(file).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace batchtest
