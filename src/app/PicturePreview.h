#pragma once

#include "ConversionChoices.h"
#include "PictureConverter.h"

#include <QByteArray>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;

// The dots of one listed picture exactly as the upload stores them and the printer prints
// them, with the choices that make them; every change shows at once.
class PicturePreview : public QDialog
{
    Q_OBJECT

public:
    PicturePreview(const QString &path, const modBitmap::ConversionChoices &choices,
                   QWidget *parent);

    modBitmap::ConversionChoices choices() const;
    // The record the dots come from: what the upload sends for these choices.
    const QByteArray &record() const { return m_record; }
    QLabel *dots() const { return m_dots; }

signals:
    void choicesChanged(const modBitmap::ConversionChoices &choices);

private:
    void createControls(const modBitmap::ConversionChoices &choices);
    void choiceMade();
    void render();
    void showDots();
    void enlargeToggled(bool enlarged);
    // The scroll area as large as the dots where the screen's available area has room.
    void fitDots(QSize dots);
    void keepOnScreen();

    modBitmap::PictureConverter m_converter;
    QByteArray m_record;
    QComboBox *m_reduction = nullptr;
    QSpinBox *m_threshold = nullptr;
    QSpinBox *m_width = nullptr;
    QCheckBox *m_invert = nullptr;
    QComboBox *m_rotation = nullptr;
    QCheckBox *m_enlarge = nullptr;
    QSize m_sizeBeforeEnlarge;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_dots = nullptr;
    QLabel *m_size = nullptr;
};
