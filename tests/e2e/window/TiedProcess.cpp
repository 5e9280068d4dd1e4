#include "TiedProcess.h"

#include <QDeadlineTimer>

#include <csignal>
#include <sys/prctl.h>

namespace {

void dieWithParent(QProcess &process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
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

std::optional<QString> TiedProcess::readLine(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
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

void TiedProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

ToolResult runTool(const QString &program, const QStringList &arguments,
                   const QProcessEnvironment &environment, int timeoutMs)
{
    QProcess process;
    dieWithParent(process);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ToolResult result;
    if (!process.waitForStarted(timeoutMs)) {
        result.errors = QStringLiteral("%1 did not start: %2").arg(program, process.errorString());
        return result;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        result.errors =
            QStringLiteral("%1 did not finish within %2 ms").arg(program).arg(timeoutMs);
        return result;
    }
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    result.errors = QString::fromUtf8(process.readAllStandardError());
    return result;
}
