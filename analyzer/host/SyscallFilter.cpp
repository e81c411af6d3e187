// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "SyscallFilter.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <sched.h>
#include <seccomp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

namespace {

// Calls refused outright, each with EPERM.
constexpr const char *refused[] = {
    // starting programs
    "execve", "execveat", "fork", "vfork",
    // reaching into other processes
    "ptrace", "process_vm_readv", "process_vm_writev", "pidfd_getfd", "kcmp",
    // mounts and namespaces
    "mount", "umount2", "pivot_root", "chroot", "move_mount", "open_tree", "fsopen", "fsconfig", "fsmount", "fspick",
    "mount_setattr", "unshare", "setns",
    // kernel modules, kexec, keyrings
    "init_module", "finit_module", "delete_module", "kexec_load", "kexec_file_load", "add_key", "request_key", "keyctl",
    // removing, renaming and linking files (Landlock refuses writes as well, where the kernel has it)
    "unlink", "unlinkat", "rename", "renameat", "renameat2", "mkdir", "mkdirat", "rmdir", "link", "linkat", "symlink",
    "symlinkat", "chmod", "fchmodat", "chown", "lchown", "fchownat", "truncate", "mknod", "mknodat", "utime", "utimes",
    "futimesat", "name_to_handle_at", "open_by_handle_at",
    // serving anything
    "listen",
    // the rest of what a decoder never needs and an intruder would like
    "bpf", "perf_event_open", "userfaultfd", "io_uring_setup", "io_uring_enter", "io_uring_register", "reboot",
    "swapon", "swapoff", "acct", "settimeofday", "clock_settime", "clock_adjtime", "adjtimex", "sethostname",
    "setdomainname", "iopl", "ioperm", "quotactl", "quotactl_fd", "lookup_dcookie", "syslog", "vhangup", "uselib",
    "fanotify_init", "personality"};

struct Rule
{
    const char *name;
    int error;
    std::vector<scmp_arg_cmp> conditions;
};

std::vector<Rule> conditionalRules()
{
    std::vector<Rule> rules;
    // A process is a clone without CLONE_THREAD; threads stay allowed.
    rules.push_back({"clone", EPERM, {scmp_arg_cmp{0, SCMP_CMP_MASKED_EQ, CLONE_THREAD, 0}}});
    // New Unix sockets would reach the bus's other services, the display server and the like; the bus connection
    // exists before the filter does.
    for (const scmp_datum_t family : {AF_UNIX, AF_PACKET})
        rules.push_back({"socket", EACCES, {scmp_arg_cmp{0, SCMP_CMP_MASKED_EQ, 0xffffffff, family}}});
    // Typing into the terminal the command line was started from.
    for (const scmp_datum_t request : {TIOCSTI, TIOCLINUX})
        rules.push_back({"ioctl", EPERM, {scmp_arg_cmp{1, SCMP_CMP_MASKED_EQ, 0xffffffff, request}}});
    return rules;
}

QString describe(const char *what, int code)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(-code)));
}

} // namespace

namespace SyscallFilter {

bool install(QString *error)
{
    const std::unique_ptr<void, void (*)(scmp_filter_ctx)> filter(seccomp_init(SCMP_ACT_ALLOW), seccomp_release);
    if (!filter) {
        if (error)
            *error = QStringLiteral("libseccomp cannot start a filter");
        return false;
    }
    // Threads that already run (the bus connection's) get the filter too.
    int code = seccomp_attr_set(filter.get(), SCMP_FLTATR_CTL_TSYNC, 1);
    const auto add = [&](const char *name, std::uint32_t action, const std::vector<scmp_arg_cmp> &conditions) {
        const int call = seccomp_syscall_resolve_name(name);
        if (call == __NR_SCMP_ERROR)
            return 0; // not a call of this architecture
        return seccomp_rule_add_array(filter.get(), action, call, unsigned(conditions.size()), conditions.data());
    };
    for (const char *name : refused) {
        if (code == 0)
            code = add(name, SCMP_ACT_ERRNO(EPERM), {});
    }
    for (const Rule &rule : conditionalRules()) {
        if (code == 0)
            code = add(rule.name, SCMP_ACT_ERRNO(rule.error), rule.conditions);
    }
    // Its arguments sit in memory where a filter cannot look; libc falls back to clone.
    for (const char *name : {"clone3"}) {
        if (code == 0)
            code = add(name, SCMP_ACT_ERRNO(ENOSYS), {});
    }
    if (code != 0) {
        if (error)
            *error = describe("cannot build the system-call filter", code);
        return false;
    }
    code = seccomp_load(filter.get());
    if (code != 0) {
        if (error)
            *error = describe("cannot load the system-call filter", code);
        return false;
    }
    return true;
}

} // namespace SyscallFilter
