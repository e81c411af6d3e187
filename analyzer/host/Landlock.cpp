// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Landlock.h"

#include <QFile>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

// Debian 12's kernel headers stop at ABI 2, so the interface is spelled out here as the kernel defines it.
namespace {

constexpr long createRulesetCall = SYS_landlock_create_ruleset;
constexpr long addRuleCall = SYS_landlock_add_rule;
constexpr long restrictSelfCall = SYS_landlock_restrict_self;

constexpr std::uint32_t createRulesetVersion = 1U << 0;
constexpr int rulePathBeneath = 1;
constexpr int ruleNetPort = 2;

enum FsAccess : std::uint64_t {
    fsExecute = 1ULL << 0,
    fsWriteFile = 1ULL << 1,
    fsReadFile = 1ULL << 2,
    fsReadDir = 1ULL << 3,
    fsRemoveDir = 1ULL << 4,
    fsRemoveFile = 1ULL << 5,
    fsMakeChar = 1ULL << 6,
    fsMakeDir = 1ULL << 7,
    fsMakeReg = 1ULL << 8,
    fsMakeSock = 1ULL << 9,
    fsMakeFifo = 1ULL << 10,
    fsMakeBlock = 1ULL << 11,
    fsMakeSym = 1ULL << 12,
    fsRefer = 1ULL << 13,    // ABI 2
    fsTruncate = 1ULL << 14, // ABI 3
    fsIoctlDev = 1ULL << 15, // ABI 5
};
constexpr std::uint64_t netBindTcp = 1ULL << 0;
constexpr std::uint64_t netConnectTcp = 1ULL << 1;
constexpr std::uint64_t scopeAbstractUnixSocket = 1ULL << 0;
constexpr std::uint64_t scopeSignal = 1ULL << 1;

struct RulesetAttr
{
    std::uint64_t handledAccessFs;
    std::uint64_t handledAccessNet; // ABI 4
    std::uint64_t scoped;           // ABI 6
};

struct __attribute__((packed)) PathBeneathAttr
{
    std::uint64_t allowedAccess;
    std::int32_t parentFd;
};

struct NetPortAttr
{
    std::uint64_t allowedAccess;
    std::uint64_t port;
};

std::uint64_t handledFsAccess(int abi)
{
    std::uint64_t access = fsExecute | fsWriteFile | fsReadFile | fsReadDir | fsRemoveDir | fsRemoveFile | fsMakeChar |
                           fsMakeDir | fsMakeReg | fsMakeSock | fsMakeFifo | fsMakeBlock | fsMakeSym;
    if (abi >= 2)
        access |= fsRefer;
    if (abi >= 3)
        access |= fsTruncate;
    if (abi >= 5)
        access |= fsIoctlDev;
    return access;
}

class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

QString failure(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

namespace Landlock {

int abiVersion()
{
    const long abi = ::syscall(createRulesetCall, nullptr, 0, createRulesetVersion);
    return abi > 0 ? int(abi) : 0;
}

Outcome restrictSelf(const Rules &rules)
{
    Outcome outcome;
    outcome.abi = abiVersion();
    if (outcome.abi == 0) {
        outcome.problem = QStringLiteral("this kernel offers no Landlock");
        return outcome;
    }
    RulesetAttr attributes{};
    attributes.handledAccessFs = handledFsAccess(outcome.abi);
    if (outcome.abi >= 4)
        attributes.handledAccessNet = netBindTcp | netConnectTcp;
    if (outcome.abi >= 6)
        attributes.scoped = scopeSignal | (rules.scopeAbstractSockets ? scopeAbstractUnixSocket : 0);
    const Descriptor ruleset(int(::syscall(createRulesetCall, &attributes, sizeof attributes, 0U)));
    if (ruleset.get() < 0) {
        outcome.problem = failure("cannot create a Landlock ruleset");
        return outcome;
    }

    const auto allow = [&](const QString &path, std::uint64_t fileAccess) {
        const Descriptor target(::open(QFile::encodeName(path).constData(), O_PATH | O_CLOEXEC));
        struct stat status = {};
        if (target.get() < 0 || ::fstat(target.get(), &status) != 0)
            return true;
        PathBeneathAttr beneath{};
        // Folder rights on a file are refused by the kernel.
        beneath.allowedAccess = S_ISDIR(status.st_mode) ? fileAccess | fsReadDir : fileAccess;
        beneath.parentFd = target.get();
        return ::syscall(addRuleCall, ruleset.get(), rulePathBeneath, &beneath, 0U) == 0;
    };
    const std::uint64_t truncate = outcome.abi >= 3 ? std::uint64_t(fsTruncate) : 0;
    for (const QString &path : rules.readable) {
        if (!allow(path, fsReadFile)) {
            outcome.problem = failure("cannot allow reading a folder");
            return outcome;
        }
    }
    for (const QString &path : rules.writable) {
        if (!allow(path, fsReadFile | fsWriteFile | truncate)) {
            outcome.problem = failure("cannot allow writing a file");
            return outcome;
        }
    }
    if (outcome.abi >= 4) {
        for (const quint16 port : rules.connectPorts) {
            NetPortAttr rule{netConnectTcp, port};
            if (::syscall(addRuleCall, ruleset.get(), ruleNetPort, &rule, 0U) != 0) {
                outcome.problem = failure("cannot allow a model server's port");
                return outcome;
            }
        }
    }
    if (::syscall(restrictSelfCall, ruleset.get(), 0U) != 0) {
        outcome.problem = failure("cannot enforce the Landlock ruleset");
        return outcome;
    }
    outcome.files = true;
    outcome.network = outcome.abi >= 4;
    outcome.signalScope = outcome.abi >= 6;
    outcome.abstractSocketScope = outcome.abi >= 6 && rules.scopeAbstractSockets;
    return outcome;
}

} // namespace Landlock
