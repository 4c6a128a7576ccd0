#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <csignal>
#include <functional>
#include <string>

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Work run in a child process under limits that the test process itself must
// not keep: a user without rights, or a largest file size standing for a
// full disk. The child answers by its exit status.
namespace restricted {

// The child could not be put under the limit: the test is skipped.
inline constexpr int CannotRestrict = 77;

struct Outcome
{
    int status = -1;     // the child's exit status; -1 when it did not exit
    std::string skipped; // why the limit could not be set, when status is CannotRestrict
};

// Runs work in a child after restrict; restrict returns an empty text when
// the limit is in place, or why it is not.
inline Outcome inChild(const std::function<std::string()> &restrict, const std::function<int()> &work)
{
    int channel[2];
    if (pipe(channel) != 0)
        return {CannotRestrict, "no pipe"};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const std::string why = restrict();
        if (!why.empty()) {
            [[maybe_unused]] const ssize_t written = write(channel[1], why.data(), why.size());
            _exit(CannotRestrict);
        }
        int status = 1;
        try {
            status = work();
        } catch (...) {
            status = 2;
        }
        _exit(status);
    }
    close(channel[1]);
    std::string why;
    char buffer[256];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        why.append(buffer, size_t(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, why};
}

// Becomes the user "nobody", who may write only where everyone may. Root
// ignores the rights of files, so a test of a folder closed to new files
// needs such a user; a test process that is not root is one already.
inline std::string asUserWithoutRights()
{
    if (geteuid() != 0)
        return {};
    constexpr gid_t nogroup = 65534;
    constexpr uid_t nobody = 65534;
    if (setgroups(0, nullptr) != 0 || setgid(nogroup) != 0 || setuid(nobody) != 0)
        return "the test process cannot become the user nobody";
    return {};
}

// Files cannot grow past bytes, as on a disk that is full: a write beyond
// fails with EFBIG, as one on a full disk fails with ENOSPC.
inline std::function<std::string()> withLargestFile(rlim_t bytes)
{
    return [bytes]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return "the largest file size cannot be set";
        return {};
    };
}

} // namespace restricted
