#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>

// A program the test starts. It gets SIGTERM should the test die first, and is stopped
// when this object goes, so no run leaves a display server or a window behind.
class TiedProcess
{
public:
    TiedProcess();
    ~TiedProcess();
    TiedProcess(const TiedProcess &) = delete;
    TiedProcess &operator=(const TiedProcess &) = delete;

    bool start(const QString &program, const QStringList &arguments,
               const QProcessEnvironment &environment);
    // The next line of standard output without its line end; nothing when none comes in time.
    std::optional<QString> readLine(int timeoutMs);
    // The exit code, when the program ends normally within the time.
    std::optional<int> waitForExit(int timeoutMs);
    QString errorOutput();
    void stop();

private:
    QProcess m_process;
};

struct ToolResult
{
    bool finished = false;
    int exitCode = -1;
    QString output;
    QString errors;
    bool succeeded() const { return finished && exitCode == 0; }
};

// Runs a short-lived tool to its end, or kills it when the time is up.
ToolResult runTool(const QString &program, const QStringList &arguments,
                   const QProcessEnvironment &environment, int timeoutMs);
