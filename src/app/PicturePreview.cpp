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

    m_invert = new QCheckBox(AppTexts::InvertBox);
    m_invert->setObjectName(QStringLiteral("invert"));
    m_invert->setChecked(choices.invert);

    m_rotation = new QComboBox;
    m_rotation->setObjectName(QStringLiteral("rotation"));
    for (const auto &[degrees, name] : AppTexts::Rotations)
        m_rotation->addItem(name, degrees);
    m_rotation->setCurrentIndex(m_rotation->findData(choices.rotationDegrees));

    m_size = new QLabel;
    m_size->setObjectName(QStringLiteral("size"));

    auto *form = new QFormLayout;
    form->addRow(AppTexts::ReductionLabel, m_reduction);
    form->addRow(AppTexts::ThresholdLabel, m_threshold);
    form->addRow(AppTexts::WidthLabel, m_width);
    form->addRow(QString(), m_enlarge);
    form->addRow(AppTexts::InvertLabel, m_invert);
    form->addRow(AppTexts::RotationLabel, m_rotation);
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
    connect(m_invert, &QCheckBox::toggled, this, &PicturePreview::choiceMade);
    connect(m_rotation, &QComboBox::currentIndexChanged, this, &PicturePreview::choiceMade);
    connect(m_enlarge, &QCheckBox::toggled, this, &PicturePreview::enlargeToggled);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ConversionChoices PicturePreview::choices() const
{
    ConversionChoices choices;
    choices.reduction = Reduction(m_reduction->currentData().toInt());
    choices.thresholdLevel = m_threshold->value();
    choices.widthDots = m_width->value();
    choices.invert = m_invert->isChecked();
    choices.rotationDegrees = m_rotation->currentData().toInt();
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
    fitDots(pixmap.deviceIndependentSize().toSize());
}

void PicturePreview::enlargeToggled(bool enlarged)
{
    if (enlarged)
        m_sizeBeforeEnlarge = size();
    showDots();
    if (enlarged) {
        keepOnScreen();
    } else if (m_sizeBeforeEnlarge.isValid()) {
        // Back to the size it had, not the larger one the enlarged dots made.
        layout()->activate();
        resize(m_sizeBeforeEnlarge);
    }
}

void PicturePreview::fitDots(QSize dots)
{
    // The whole picture in view where the screen has room, the scroll bars' room included;
    // beyond that the scroll bars show the rest.
    const int margin =
        2 * m_scroll->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_scroll->setMinimumSize(0, 0);
    const QMargins margins = layout()->contentsMargins();
    const int besideDots = margins.left() + margins.right();
    const int belowDots = layout()->minimumSize().height() - m_scroll->minimumSizeHint().height();
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize room =
        (screen()->availableSize() - frame - QSize(besideDots, belowDots)).expandedTo(QSize(0, 0));
    m_scroll->setMinimumSize((dots + QSize(margin, margin)).boundedTo(room));
}

// An enlarged preview that grew past the screen's edge comes back onto it.
void PicturePreview::keepOnScreen()
{
    layout()->activate();
    const QRect available = screen()->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveRight(std::min(frame.right(), available.right()));
    frame.moveBottom(std::min(frame.bottom(), available.bottom()));
    frame.moveLeft(std::max(frame.left(), available.left()));
    frame.moveTop(std::max(frame.top(), available.top()));
    if (frame.topLeft() != frameGeometry().topLeft())
        move(frame.topLeft());
}
