#pragma once

#include "GraphicsStore.h"

#include <QByteArrayView>
#include <QString>

// The largest graphic a define may carry, in dots.
inline constexpr int MaxGraphicWidth = 8192;
inline constexpr int MaxGraphicHeight = 2304;

// What the body of a define (fn 67 raster, fn 68 columns) holds.
struct GraphicDefine
{
    QByteArray key;
    int width = 0;
    int height = 0;
    bool raster = true;
    NvGraphic graphic; // its dots and the data bytes it takes
    QString error;     // why the define stores nothing; empty when it is sound
};

// body: m fn and the parameters, as the frame's count gives them.
GraphicDefine readGraphicDefine(QByteArrayView body);
