#pragma once

#include "Polling.h"
#include "StatusQuestions.h"
#include "TiedProcess.h"
#include "VirtualPrinterProcess.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

void startOrvane(QProcess &process, const QStringList &arguments);
// Runs orvane to its end with stdin read from the file input, or closed when input is empty.
ProgramRun runOrvane(const QStringList &arguments, const QString &input = {});

// The record an upload must send for the picture file, as the imaging library builds it.
QByteArray recordOf(const QString &path);

// Black-and-white noise: every dot differs from its mirror images somewhere.
QImage noisePicture(int width, int height, unsigned seed);
// That picture saved as pSEED.bmp in folder; its path.
QString savedNoise(const QTemporaryDir &folder, int width, int height, unsigned seed);
// A grey gradient with a black block in one corner: scaled and thresholded on its way.
QImage shadedPicture(int width, int height);
// What the printer prints for an unscaled black-and-white picture (width and height multiples
// of 8, width at most 512): blank columns on the left and blank rows at the foot pad it to
// multiples of 32 dots.
QImage printedUnscaled(const QImage &picture);
// Empty when both show the same dots; else where they first differ.
std::string dotDifference(const QImage &actual, const QImage &expected);

const QByteArray FinishCommand("\x1D\x07\x02\x01\x01", 5);
// What each job sends, status questions first and the question that confirms delivery last
// (the virtual printer answers them).
const QByteArray EraseStream =
    BeforeJob + QByteArray("\x1C\x71\x00", 3) + FinishCommand + DeliveryQuestion;
QByteArray uploadStream(const QList<QByteArray> &records);
QByteArray printStream();

// A virtual printer on a fresh pseudo-terminal for each test, and a folder for pictures.
class PrinterTest : public ::testing::Test
{
protected:
    void SetUp() override;
    virtual QStringList printerOptions() const { return {}; }
    void TearDown() override;

    QString picturePath(const QString &name) const { return m_dir.filePath(name); }
    QString save(const QImage &picture, const QString &name) const;
    // Waits until the printer's log holds line as a whole line.
    bool logHas(const QString &line) const;
    // Proves the printer received nothing so far: an erase must arrive as the first bytes.
    void expectNothingSent();

    VirtualPrinterProcess printer{QStringLiteral(VIRTUAL_PRINTER_EXE)};
    QString pty;

private:
    QTemporaryDir m_dir;
};
