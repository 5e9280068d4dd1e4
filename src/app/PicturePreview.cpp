#include "PicturePreview.h"
#include "AppTexts.h"
#include "RasterPreview.h"
#include "modBitmap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

using modBitmap::ConversionChoices;
using modBitmap::Reduction;

PicturePreview::PicturePreview(const QString &path, const ConversionChoices &choices,
                               QWidget *parent)
    : QDialog(parent)
    , m_converter(path)
{
    setWindowTitle(AppTexts::PreviewTitle.arg(modBitmap::displayName(path)));
    createControls(choices);
    m_reduction->setFocus();
    render();
}

void PicturePreview::createControls(const ConversionChoices &choices)
{
    m_dots = new QLabel;
    m_dots->setObjectName(QStringLiteral("dots"));
    m_dots->setAlignment(Qt::AlignCenter);
    m_dots->setWordWrap(true);
    // Paper round the dots, so that the record's blank edges show as what they are.
    QPalette paper = m_dots->palette();
    paper.setColor(QPalette::Window, Qt::white);
    paper.setColor(QPalette::WindowText, Qt::black);
    m_dots->setPalette(paper);
    m_dots->setAutoFillBackground(true);
    m_scroll = new QScrollArea;
    m_scroll->setWidget(m_dots);
    m_scroll->setWidgetResizable(true);

    m_reduction = new QComboBox;
    m_reduction->setObjectName(QStringLiteral("reduction"));
    for (const auto &[reduction, name] : AppTexts::Reductions)
        m_reduction->addItem(name, int(reduction));
    m_reduction->setCurrentIndex(m_reduction->findData(int(choices.reduction)));

    m_threshold = new QSpinBox;
    m_threshold->setObjectName(QStringLiteral("threshold"));
    m_threshold->setRange(0, modBitmap::MaxThresholdLevel);
    m_threshold->setValue(choices.thresholdLevel);

    m_width = new QSpinBox;
    m_width->setObjectName(QStringLiteral("width"));
    m_width->setRange(modBitmap::MinWidthDots, modBitmap::MaxWidthDots);
    m_width->setSingleStep(8);
    m_width->setSuffix(AppTexts::DotsSuffix);
    m_width->setValue(choices.widthDots);
    // A width is taken when it is complete, not at each digit typed.
    m_width->setKeyboardTracking(false);

    m_enlarge = new QCheckBox(AppTexts::Enlarge);
    m_enlarge->setObjectName(QStringLiteral("enlarge"));

    m_size = new QLabel;
    m_size->setObjectName(QStringLiteral("size"));

    auto *form = new QFormLayout;
    form->addRow(AppTexts::ReductionLabel, m_reduction);
    form->addRow(AppTexts::ThresholdLabel, m_threshold);
    form->addRow(AppTexts::WidthLabel, m_width);
    form->addRow(QString(), m_enlarge);
    form->addRow(AppTexts::SizeLabel, m_size);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    // Enter takes a typed threshold or width; it must not close the preview as well.
    buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_reduction, &QComboBox::currentIndexChanged, this, &PicturePreview::choiceMade);
    connect(m_threshold, &QSpinBox::valueChanged, this, &PicturePreview::choiceMade);
    connect(m_width, &QSpinBox::valueChanged, this, &PicturePreview::choiceMade);
    connect(m_enlarge, &QCheckBox::toggled, this, &PicturePreview::showDots);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ConversionChoices PicturePreview::choices() const
{
    ConversionChoices choices;
    choices.reduction = Reduction(m_reduction->currentData().toInt());
    choices.thresholdLevel = m_threshold->value();
    choices.widthDots = m_width->value();
    return choices;
}

void PicturePreview::choiceMade()
{
    // A printer is whole bytes wide: a typed width comes down to the next multiple of 8.
    if (m_width->value() % 8 != 0) {
        m_width->setValue(m_width->value() / 8 * 8);
        return;
    }
    render();
    emit choicesChanged(choices());
}

void PicturePreview::render()
{
    const ConversionChoices chosen = choices();
    m_threshold->setEnabled(chosen.reduction == Reduction::Threshold);
    const modBitmap::RasterRecordResult result = m_converter.convert(chosen);
    m_record = result.record;
    if (!result.ok()) {
        m_dots->setText(result.error);
        m_size->clear();
        return;
    }
    const auto byteAt = [this](int at) { return int(uchar(m_record.at(at))); };
    m_size->setText(AppTexts::RecordSize.arg((byteAt(0) + 256 * byteAt(1)) * 8)
                        .arg((byteAt(2) + 256 * byteAt(3)) * 8)
                        .arg(m_record.size()));
    showDots();
}

void PicturePreview::showDots()
{
    if (m_record.isEmpty())
        return;
    QImage image = rasterRecordToImage(m_record);
    if (m_enlarge->isChecked())
        image = image.scaled(image.size() * 2);
    QPixmap pixmap = QPixmap::fromImage(image);
    // One dot to one pixel of the screen, whatever its scaling.
    pixmap.setDevicePixelRatio(devicePixelRatioF());
    m_dots->setPixmap(pixmap);
    // The whole picture in view where the screen has room, the scroll bars' room included.
    const int margin =
        2 * m_scroll->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize room = screen()->availableSize() * 3 / 4;
    m_scroll->setMinimumSize(
        (pixmap.deviceIndependentSize().toSize() + QSize(margin, margin)).boundedTo(room));
}
