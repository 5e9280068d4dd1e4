#include "VirtualPrinterProcess.h"

#include "Polling.h"
#include "StatusQuestions.h"

#include <QDir>

VirtualPrinterProcess::VirtualPrinterProcess(const QString &program)
    : m_program(program)
{}

bool VirtualPrinterProcess::start(const QString &outDir, const QStringList &options,
                                  QDeadlineTimer deadline)
{
    m_outDir = outDir;
    if (!TiedProcess::start(m_program, QStringList{QStringLiteral("--out"), outDir} + options,
                            QProcessEnvironment::systemEnvironment()))
        return false;
    m_address = readLine(deadline).value_or(QString());
    return !m_address.isEmpty();
}

QString VirtualPrinterProcess::outPath(const QString &name) const
{
    return QDir(m_outDir).filePath(name);
}

QByteArray VirtualPrinterProcess::stream() const
{
    return maskedIds(readFile(outPath(QStringLiteral("stream.bin"))));
}

QString VirtualPrinterProcess::log() const
{
    return QString::fromUtf8(readFile(outPath(QStringLiteral("log.txt"))));
}

QByteArray VirtualPrinterProcess::streamOfSize(qsizetype size, int timeoutMs) const
{
    QByteArray bytes;
    waitFor(
        [&] {
            bytes = stream();
            return bytes.size() >= size;
        },
        timeoutMs);
    return bytes;
}

bool VirtualPrinterProcess::waitForLog(const QString &text, int timeoutMs) const
{
    return waitFor([&] { return log().contains(text); }, timeoutMs);
}
