#pragma once

#include "GraphicsStore.h"
#include "StatusAnswers.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// One stored NV image as the printer keeps it: x × 8 columns of y bytes each.
struct NvImage
{
    int x = 0; // width in units of 8 dots
    int y = 0; // height in units of 8 dots
    QByteArray columns;
};

// Black dots become black pixels; each dot is scaleX × scaleY pixels.
QImage renderNvImage(const NvImage &image, int scaleX = 1, int scaleY = 1);

// The printer's two NV stores (bit images by number, graphics by key), its paper and its
// state: printed images become PNG files.
class NvPrinter
{
public:
    enum class PrintStatus { Printed, NoImage, BadMode, WriteFailed };
    struct PrintResult
    {
        PrintStatus status;
        QString fileName; // set for Printed and WriteFailed
        QSize size;       // pixels, set for Printed
    };

    explicit NvPrinter(const QString &outDir, GraphicsOptions graphics = {});

    void define(QList<NvImage> images);
    void erase();

    // mode: 0 normal, 1 double width, 2 double height, 3 quadruple; 48 to 51 mean the same.
    PrintResult print(int number, int mode);

    void setState(PrinterState state) { m_state = state; }
    PrinterState state() const { return m_state; }
    // The answer to DLE EOT n; nothing for an n the printer does not know.
    std::optional<char> status(int n) const { return statusAnswer(m_state, n); }

    GraphicsStore &graphics() { return m_graphics; }
    // scaleX and scaleY: 1 or 2.
    PrintResult printGraphic(const QByteArray &key, int scaleX, int scaleY);

private:
    const NvImage *image(int number) const;
    PrintResult save(const QImage &picture, const QString &name);

    QString m_outDir;
    QList<NvImage> m_images;
    GraphicsStore m_graphics;
    int m_printCount = 0;
    PrinterState m_state = PrinterState::Ready;
};
