#pragma once

// A private JACK server on the dummy driver for the length of a test: no sound hardware needed,
// and a server name of its own keeps parallel runs apart. A long run asks for realtime where
// the machine allows it: a server without it misses cycles on a busy machine, and a missed
// cycle loses MIDI. The server runs synchronously and waits up to 2 s for a late client: on a
// loaded machine the cycle is delayed instead of losing or repeating what it would have
// carried.

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sched.h>
#include <string>
#include <sys/prctl.h>
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

    // `suffix`: a further server of the same process gets a name of its own.
    explicit JackServer(bool realtimeWhereAllowed = false, const std::string& suffix = "") {
        name_ = "kavel-test-" + std::to_string(getpid()) + suffix;
        // Every JACK client of this process opened from now on talks to this server.
        setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
        setenv("JACK_NO_START_SERVER", "1", 1);
        const std::string jackd = jackdPath();
        pid_ = fork();
        if (pid_ == 0) {
            // A test killed or crashed takes its server with it: servers left behind fill
            // libjack's table of servers, and a later client can crash on it.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            // The server's own report, late cycles among them, goes to its log.
            if (int log = open(logPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644); log >= 0) {
                dup2(log, STDOUT_FILENO);
                dup2(log, STDERR_FILENO);
            }
            const char* realtime =
                realtimeWhereAllowed && realtimeAllowed() ? "--realtime" : "--no-realtime";
            execl(jackd.c_str(), "jackd", realtime, "--sync", "-t", "2000", "-d", "dummy", "-r",
                  "48000", "-p", "32", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~JackServer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        unlink(logPath().c_str());
    }
    bool started() const { return pid_ > 0; }
    // What the server printed: "XRun" lines are cycles it missed, whose MIDI is lost.
    std::string logPath() const { return "/tmp/" + name_ + ".log"; }

    // Whether this process may take a realtime priority (root, or an rtprio limit).
    static bool realtimeAllowed() {
        sched_param realtime{};
        realtime.sched_priority = 10;
        const int before = sched_getscheduler(0);
        sched_param previous{};
        sched_getparam(0, &previous);
        if (sched_setscheduler(0, SCHED_FIFO, &realtime) != 0) return false;
        sched_setscheduler(0, before, &previous);
        return true;
    }

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
