#include "PrivateScheduler.h"

#include "Polling.h"

#include <QDir>
#include <QFile>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// cupsd drops to the user lp for its jobs when it runs as root: lp must reach every file.
bool shareWithLp(const QString &path, bool folder)
{
    const group *lp = getgrnam("lp");
    const QByteArray native = QFile::encodeName(path);
    return (!lp || getuid() != 0 || chown(native.constData(), 0, lp->gr_gid) == 0) &&
           chmod(native.constData(), folder ? 0775 : 0664) == 0;
}

bool writeShared(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size() &&
           shareWithLp(path, false);
}

} // namespace

bool PrivateScheduler::start(const QString &settings)
{
    const QDir dir(m_dir.path());
    bool made = m_dir.isValid() && shareWithLp(dir.path(), true);
    for (const char *folder : {"spool", "spool/tmp", "cache", "state", "log", "tmp", "ppd"})
        made = made && dir.mkpath(folder) && shareWithLp(dir.filePath(folder), true);
    const QString files =
        QStringLiteral("%1RequestRoot %2/spool\nCacheDir %2/cache\nStateDir %2/state\n"
                       "TempDir %2/tmp\nAccessLog %2/log/access_log\nErrorLog %2/log/error_log\n"
                       "PageLog %2/log/page_log\nPrintcap %2/printcap\nServerBin /usr/lib/cups\n")
            .arg(getuid() == 0 ? "User lp\nGroup lp\n" : "", dir.path());
    const QString allowAll = QStringLiteral("  Order allow,deny\n  Allow all\n");
    const QString config = QStringLiteral("Listen %1\nBrowsing No\nWebInterface No\n"
                                          "<Location />\n%2</Location>\n"
                                          "<Location /admin>\n%2</Location>\n")
                               .arg(server(), allowAll) +
                           settings;
    if (!made || !writeShared(dir.filePath("cups-files.conf"), files) ||
        !writeShared(dir.filePath("cupsd.conf"), config)) {
        m_why = QStringLiteral("cannot lay out the scheduler's folder ") + dir.path();
        return false;
    }
    const bool answers =
        m_cupsd.start(
            "/usr/sbin/cupsd",
            {"-f", "-c", dir.filePath("cupsd.conf"), "-s", dir.filePath("cups-files.conf")},
            environment()) &&
        waitFor([this] {
            return !m_cupsd.running() || run("lpstat", {"-r"}).out.contains("scheduler is running");
        });
    if (!answers || !m_cupsd.running())
        m_why = "cupsd does not answer (is the cups package installed?) " + m_cupsd.errorOutput() +
                QString::fromUtf8(readFile(dir.filePath("log/error_log")).right(2000));
    return answers && m_cupsd.running();
}

QProcessEnvironment PrivateScheduler::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), server());
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
