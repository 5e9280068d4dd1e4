#include "TiedProcess.h"

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {

void dieWithParent([[maybe_unused]] QProcess &process)
{
#ifdef Q_OS_LINUX
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
}

} // namespace

TiedProcess::TiedProcess()
{
    dieWithParent(m_process);
}

TiedProcess::~TiedProcess()
{
    stop();
}

bool TiedProcess::start(const QString &program, const QStringList &arguments,
                        const QProcessEnvironment &environment)
{
    m_process.setProcessEnvironment(environment);
    m_process.start(program, arguments);
    return m_process.waitForStarted(10000);
}

std::optional<QString> TiedProcess::readLine(QDeadlineTimer deadline)
{
    while (!m_process.canReadLine()) {
        if (m_process.state() != QProcess::Running || deadline.hasExpired())
            return std::nullopt;
        m_process.waitForReadyRead(int(deadline.remainingTime()));
    }
    return QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

std::optional<int> TiedProcess::waitForExit(int timeoutMs)
{
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(timeoutMs))
        return std::nullopt;
    if (m_process.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return m_process.exitCode();
}

QString TiedProcess::errorOutput()
{
    return QString::fromLocal8Bit(m_process.readAllStandardError());
}

std::optional<int> TiedProcess::stop(int timeoutMs)
{
    if (running())
        m_process.terminate();
    const std::optional<int> exitCode = waitForExit(timeoutMs);
    if (running()) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    return exitCode;
}

ProgramRun runProgram(const QString &program, const QStringList &arguments,
                      const QProcessEnvironment &environment, int timeoutMs, const QString &input)
{
    QProcess process;
    dieWithParent(process);
    process.setProcessEnvironment(environment);
    if (!input.isEmpty())
        process.setStandardInputFile(input);
    process.start(program, arguments);
    if (input.isEmpty())
        process.closeWriteChannel();

    ProgramRun run;
    QString failure;
    if (!process.waitForFinished(timeoutMs)) {
        failure =
            process.error() == QProcess::FailedToStart
                ? QStringLiteral("%1 did not start: %2").arg(program, process.errorString())
                : QStringLiteral("%1 did not finish within %2 ms").arg(program).arg(timeoutMs);
        process.kill();
        process.waitForFinished(5000);
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError()) + failure;
    return run;
}
