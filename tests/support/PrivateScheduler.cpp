#include "PrivateScheduler.h"

#include "Polling.h"

#include <QDir>
#include <QFile>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

// cupsd drops to the user lp for its jobs when it runs as root: lp must reach the folders.
bool shareWithLp(const QString &path, bool folder)
{
    const group *lp = getgrnam("lp");
    const QByteArray native = QFile::encodeName(path);
    return (!lp || getuid() != 0 || chown(native.constData(), 0, lp->gr_gid) == 0) &&
           chmod(native.constData(), folder ? 0775 : 0664) == 0;
}

} // namespace

bool PrivateScheduler::start()
{
    if (!m_dir.isValid() || !shareWithLp(m_dir.path(), true)) {
        m_why = QStringLiteral("no folder for the scheduler");
        return false;
    }
    const QDir dir(m_dir.path());
    for (const char *folder : {"spool", "spool/tmp", "cache", "state", "log", "tmp", "ppd"}) {
        if (!dir.mkpath(QLatin1String(folder)) || !shareWithLp(dir.filePath(folder), true)) {
            m_why = QStringLiteral("cannot make ") + dir.filePath(folder);
            return false;
        }
    }
    const QString root = m_dir.path();
    const QString files =
        QStringLiteral("%1RequestRoot %2/spool\nCacheDir %2/cache\nStateDir %2/state\n"
                       "TempDir %2/tmp\nAccessLog %2/log/access_log\nErrorLog %2/log/error_log\n"
                       "PageLog %2/log/page_log\nPrintcap %2/printcap\nServerBin /usr/lib/cups\n")
            .arg(getuid() == 0 ? QStringLiteral("User lp\nGroup lp\n") : QString(), root);
    const QString allowAll = QStringLiteral("  Order allow,deny\n  Allow all\n");
    const QString config = QStringLiteral("Listen %1\nBrowsing No\nWebInterface No\nLogLevel info\n"
                                          "<Location />\n%2</Location>\n"
                                          "<Location /admin>\n%2</Location>\n")
                               .arg(server(), allowAll);
    if (!writeText(dir.filePath("cups-files.conf"), files) ||
        !writeText(dir.filePath("cupsd.conf"), config) ||
        !shareWithLp(dir.filePath("cups-files.conf"), false) ||
        !shareWithLp(dir.filePath("cupsd.conf"), false)) {
        m_why = QStringLiteral("cannot write the scheduler's configuration");
        return false;
    }
    if (!m_cupsd.start(
            QStringLiteral("/usr/sbin/cupsd"),
            {"-f", "-c", dir.filePath("cupsd.conf"), "-s", dir.filePath("cups-files.conf")},
            environment())) {
        m_why = QStringLiteral("cupsd did not start (is the cups package installed?)");
        return false;
    }
    const bool answers = waitFor([this] {
        return !m_cupsd.running() ||
               run(QStringLiteral("lpstat"), {"-r"}).out.contains("scheduler is running");
    });
    if (!answers || !m_cupsd.running()) {
        m_why = QStringLiteral("cupsd does not answer: ") + m_cupsd.errorOutput() +
                QString::fromUtf8(readFile(dir.filePath("log/error_log")).right(2000));
        return false;
    }
    return true;
}

QProcessEnvironment PrivateScheduler::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), server());
    // No default queue of the machine's may stand in for a queue the test names.
    environment.remove(QStringLiteral("PRINTER"));
    environment.remove(QStringLiteral("LPDEST"));
    return environment;
}

bool PrivateScheduler::addQueue(const QString &name, const QString &deviceUri,
                                const QStringList &options)
{
    QStringList arguments{"-p", name, "-E", "-v", deviceUri, "-m", "raw"};
    for (const QString &option : options)
        arguments << "-o" << option;
    const ProgramRun added = run(QStringLiteral("/usr/sbin/lpadmin"), arguments);
    m_why = added.err;
    return added.succeeded();
}

ProgramRun PrivateScheduler::run(const QString &program, const QStringList &arguments) const
{
    return runProgram(program, QStringList{"-h", server()} + arguments, environment(), 30000);
}

QString PrivateScheduler::unfinishedJobs(const QString &queue) const
{
    return run(QStringLiteral("lpstat"), {"-W", "not-completed", "-o", queue}).out.trimmed();
}
