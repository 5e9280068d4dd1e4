#pragma once

#include "ParallelDevice.h"
#include "PrinterLink.h"

// A parallel port or a printer device file: every array goes out in one write, with nothing
// to pace. A USB printer's device file carries its answers back.
class DeviceFileLink : public PrinterLink
{
public:
    explicit DeviceFileLink(QString device);

    bool open() override;
    bool close() override;

    int outBufferSize() const override { return 0; }
    int backlog() const override { return 0; }
    bool maySendNow() const override { return true; }
    void write(const QByteArray &bytes) override;

    bool canAnswer() const override;
    QByteArray takeAnswers() override;

    bool failed() const override { return m_failed; }
    QString errorText() const override;

private:
    QString m_path;
    ParallelDevice m_device;
    bool m_failed = false;
};
