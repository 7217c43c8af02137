#pragma once

// A private JACK server on the dummy driver for the length of a test: no sound hardware and no
// realtime rights needed, and a server name of its own keeps parallel runs apart.

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kavel::test {

class JackServer {
  public:
    // Empty when jackd cannot be found.
    static std::string jackdPath() {
        for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"}) {
            std::string p = std::string(dir) + "/jackd";
            if (access(p.c_str(), X_OK) == 0) return p;
        }
        return {};
    }

    JackServer() {
        name_ = "kavel-test-" + std::to_string(getpid());
        // Every JACK client of this process, RtMidi's included, talks to this server.
        setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
        setenv("JACK_NO_START_SERVER", "1", 1);
        const std::string jackd = jackdPath();
        pid_ = fork();
        if (pid_ == 0) {
            // The dummy driver reports every late cycle; the test only needs the server.
            if (int null = open("/dev/null", O_WRONLY); null >= 0) {
                dup2(null, STDOUT_FILENO);
                dup2(null, STDERR_FILENO);
            }
            execl(jackd.c_str(), "jackd", "--no-realtime", "-d", "dummy", "-r", "48000", "-p", "32",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~JackServer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    bool started() const { return pid_ > 0; }

    // Waits, from another process, until the server answers: a client of this process that
    // connects while the server is still starting up can crash inside libjack.
    bool waitUntilReady() {
        for (int tries = 0; tries < 100; ++tries) {
            if (exited()) return false;
            if (std::system("jack_lsp >/dev/null 2>&1") == 0) return true;
            usleep(100 * 1000);
        }
        return false;
    }
    bool exited() {
        int status = 0;
        return pid_ > 0 && waitpid(pid_, &status, WNOHANG) == pid_ && (pid_ = -1, true);
    }

  private:
    std::string name_;
    pid_t pid_ = -1;
};

} // namespace kavel::test
