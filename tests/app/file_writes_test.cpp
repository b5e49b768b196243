// The program writes no file: the program, walked from start-up through a lesson, a word group,
// a bank listing, automatic reading and a drawn test (quorvella_walkthrough), runs under strace,
// and every file it opens for writing, creates, renames or removes is listed. Only what the
// system's libraries keep for themselves is allowed.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

namespace quorvella {
namespace {

// The calls that write to the file system, as strace names them.
const char* const kWritingCalls = "open,openat,openat2,creat,rename,renameat,renameat2,unlink,"
                                  "unlinkat,mkdir,mkdirat,rmdir,link,linkat,symlink,symlinkat,"
                                  "truncate,chmod,fchmodat,utimensat";

// Where the system's libraries may write for themselves: devices and the kernel's files,
// fontconfig's cache, and the runtime folders of the session and the sound server.
bool systemsOwn(const QString& path) {
    static const QStringList prefixes = [] {
        QStringList own = {QStringLiteral("/dev/"), QStringLiteral("/proc/"),
                           QStringLiteral("/sys/"), QStringLiteral("/var/cache/fontconfig/"),
                           QStringLiteral("/tmp/runtime-")};
        const QString home = QDir::homePath();
        own << home + QStringLiteral("/.cache/fontconfig") << home + QStringLiteral("/.fontconfig")
            << home + QStringLiteral("/.config/pulse") << home + QStringLiteral("/.pulse");
        for (const char* variable : {"XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH"}) {
            const QString folder = qEnvironmentVariable(variable);
            if (!folder.isEmpty()) {
                own << folder;
            }
        }
        if (const QString cache = qEnvironmentVariable("XDG_CACHE_HOME"); !cache.isEmpty()) {
            own << cache + QStringLiteral("/fontconfig");
        }
        return own;
    }();
    for (const QString& prefix : prefixes) {
        if (path.startsWith(prefix)) {
            return true;
        }
    }
    return false;
}

struct Written {
    QString call;
    QString path;
    bool succeeded;
};

// The calls of the log that write: an open with a flag that writes, creates or truncates, and
// every other call traced.
std::vector<Written> writesIn(const QString& log) {
    static const QRegularExpression line(
        QStringLiteral(R"re(^(\w+)\((?:[^"]*?)"([^"]*)"(.*)\)\s+=\s+(-?\d+))re"));
    std::vector<Written> writes;
    for (const QString& text : log.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = line.match(text);
        if (!match.hasMatch()) {
            continue;
        }
        const QString call = match.captured(1);
        const QString rest = match.captured(3);
        if (call.startsWith(QStringLiteral("open")) &&
            !QRegularExpression(QStringLiteral("O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND"))
                 .match(rest)
                 .hasMatch()) {
            continue;
        }
        writes.push_back({call, match.captured(2), match.captured(4).toInt() >= 0});
    }
    return writes;
}

TEST(NoFileWrites, TheProgramWalkedThroughItsWindowsWritesNoFile) {
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty()) {
        GTEST_SKIP() << "strace is not installed";
    }
    QTemporaryDir folder;
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    // A log per process and thread, so that no call is split by another's.
    program.start(strace, {QStringLiteral("-ff"), QStringLiteral("-qq"), QStringLiteral("-o"),
                           folder.filePath(QStringLiteral("trace")), QStringLiteral("-e"),
                           QStringLiteral("trace=") + kWritingCalls,
                           QStringLiteral(QUORVELLA_WALKTHROUGH)});
    ASSERT_TRUE(program.waitForFinished(100000));
    QString traced;
    for (const QString& name : QDir(folder.path()).entryList(QDir::Files)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            traced += QString::fromUtf8(file.readAll());
        }
    }
    if (program.exitCode() != 0 && traced.count(QLatin1Char('\n')) < 5) {
        GTEST_SKIP() << "strace cannot trace here: " << traced.toStdString();
    }
    EXPECT_EQ(program.exitCode(), 0) << "the walk through the windows failed";

    int allowed = 0;
    QStringList faults;
    for (const Written& write : writesIn(traced)) {
        const QString seen = QStringLiteral("%1 %2%3").arg(
            write.call, write.path, write.succeeded ? QString() : QStringLiteral(" (failed)"));
        std::printf("seen: %s\n", qPrintable(seen));
        if (systemsOwn(write.path) || !write.succeeded) {
            ++allowed;
        } else {
            faults << seen;
        }
    }
    std::printf("%d writing calls of the system's own or that failed, %lld of the program\n",
                allowed, qint64(faults.size()));
    EXPECT_TRUE(faults.isEmpty()) << "the program wrote:\n" << faults.join('\n').toStdString();
}

} // namespace
} // namespace quorvella
