#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>

// A program the test starts. It is stopped when this object goes, and on Linux gets SIGTERM
// should the test die first, so no run leaves a server, a printer or a window behind.
class TiedProcess
{
public:
    TiedProcess();
    ~TiedProcess();
    Q_DISABLE_COPY(TiedProcess)

    bool start(const QString &program, const QStringList &arguments,
               const QProcessEnvironment &environment);
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    // The next line of standard output without its line end; nothing when none comes in time.
    std::optional<QString> readLine(QDeadlineTimer deadline);
    // The exit code, when the program ends normally within the time.
    std::optional<int> waitForExit(int timeoutMs);
    QString errorOutput();
    // SIGTERM, then the exit code as waitForExit gives it; killed when it outlives the time.
    std::optional<int> stop(int timeoutMs = 10000);

private:
    QProcess m_process;
};

struct ProgramRun
{
    int exitCode = -1; // -1 when it did not start, crashed or hung
    QString out;
    QString err; // ends with what went wrong when the run itself failed
    bool succeeded() const { return exitCode == 0; }
};

// Runs a short-lived program to its end, or kills it when the time is up. Its standard input
// is the file input, or closed when input is empty.
ProgramRun runProgram(const QString &program, const QStringList &arguments,
                      const QProcessEnvironment &environment, int timeoutMs,
                      const QString &input = {});
