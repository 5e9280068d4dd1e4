#include "AppTexts.h"
#include "FittedFont.h"
#include "LabelColour.h"
#include "Main.h"
#include "StatusLabel.h"
#include "WholeEntryComboBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

namespace {

constexpr int TwipsPerPixel = 15;

QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel,
                 height / TwipsPerPixel);
}

// Where a Windows font is missing, a Liberation face of the same style stands in.
QFont windowsFont(const QString &family, qreal pointSize, QFont::Weight fallbackWeight)
{
    const bool installed = QFontDatabase::families().contains(family);
    QFont font(installed ? family : QStringLiteral("Liberation Sans"));
    font.setWeight(installed ? QFont::Normal : fallbackWeight);
    font.setPointSizeF(pointSize);
    return font;
}

template <typename Widget> Widget *place(Widget *widget, const char *name, QRect rect)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(rect);
    return widget;
}

// An editable box that keeps exactly what is typed: Qt's completer would fill in a listed entry
// (COM1: becoming COM1: (Used)), and Enter would take one matched regardless of case.
QComboBox *typedBox(QWidget *parent, const char *name, QRect rect, const QString &text)
{
    auto *box = place(new WholeEntryComboBox(parent), name, rect);
    box->setEditable(true);
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setEditText(text);
    return box;
}

QLabel *readOut(QWidget *parent, const char *name, QRect rect)
{
    auto *label = place(new QLabel(parent), name, rect);
    // A frame of QFrame's would take the text's tone; this border keeps the window-text colour.
    label->setStyleSheet(QStringLiteral(
        "QLabel { border: 1px solid palette(window-text); background: palette(base); }"));
    label->setAlignment(Qt::AlignCenter);
    // On Base the text takes Text: the role its tones go to, apart from the border's.
    label->setBackgroundRole(QPalette::Base);
    return label;
}

} // namespace

void Main::createControls()
{
    setWindowTitle(AppTexts::Caption);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(5520 / TwipsPerPixel, 3720 / TwipsPerPixel);
    // The window's default font is the classic 8-point dialog font, so captions fit their
    // rectangles as designed.
    setFont(windowsFont(QStringLiteral("MS Sans Serif"), 8, QFont::Normal));

    const QFont stepFont = windowsFont(QStringLiteral("Arial Black"), 9.75, QFont::Black);
    const std::array<int, 4> stepTops{120, 840, 1320, 2160};
    for (int i = 0; i < 4; ++i) {
        auto *label = place(new QLabel(QStringLiteral("%1.").arg(i + 1), this),
                            qPrintable(QStringLiteral("Label4_%1").arg(i)),
                            fromTwips(120, stepTops[i], 375, 375));
        label->setFont(stepFont);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setTextColour(label, Qt::red);
        Label4[i] = label;
    }
    Label1 =
        place(new QLabel(AppTexts::SelectPort, this), "Label1", fromTwips(480, 180, 2535, 255));
    Label3 = place(new QLabel(this), "Label3", fromTwips(480, 480, 2535, 255));
    Label2 =
        place(new QLabel(AppTexts::SetBaudRate, this), "Label2", fromTwips(480, 900, 2055, 255));

    cmbPortList =
        typedBox(this, "cmbPortList", fromTwips(1680, 120, 1335, 315), AppTexts::UnSelected);
    CmbBaudRate = typedBox(this, "CmbBaudRate", fromTwips(1680, 840, 1335, 315), AppTexts::Combo1);

    Command6 = place(new QPushButton(AppTexts::AddImage, this), "Command6",
                     fromTwips(480, 1320, 2535, 375));
    Command3 = place(new QPushButton(AppTexts::RemoveImage, this), "Command3",
                     fromTwips(480, 1680, 2535, 375));
    // The progress bar lies beneath the Upload button and shows only while it is hidden.
    ProgressBar1 = place(new QProgressBar(this), "ProgressBar1", fromTwips(480, 2160, 2535, 375));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Command7 = place(new QPushButton(AppTexts::UploadImage, this), "Command7",
                     fromTwips(480, 2160, 2535, 375));
    Command7->setEnabled(false);
    Command1 = place(new QPushButton(AppTexts::EraseImage, this), "Command1",
                     fromTwips(480, 2760, 2535, 375));
    Command4 = place(new QPushButton(AppTexts::PrintImage, this), "Command4",
                     fromTwips(480, 3240, 2535, 375));

    NumberNotify = readOut(this, "NumberNotify", fromTwips(3240, 120, 2055, 255));
    // PathList holds the full paths and lies exactly beneath BMPList, never seen.
    PathList = place(new QListWidget(this), "PathList", fromTwips(3240, 480, 2055, 1785));
    BMPList = place(new QListWidget(this), "BMPList", fromTwips(3240, 480, 2055, 1785));
    SizeNotify = readOut(this, "SizeNotify", fromTwips(3240, 2280, 2055, 255));

    LabAction = place(new StatusLabel(AppTexts::Processing, this), "LabAction",
                      fromTwips(3240, 2760, 2055, 375));
    LabAction->setFont(windowsFont(QStringLiteral("MS Sans Serif"), 13.5, QFont::Normal));
    LabAction->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(LabAction, Qt::red);
    // In the free space beside the Print button: nothing else moves. Unchecked at every start.
    chkNvGraphics = place(new QCheckBox(AppTexts::NvGraphics, this), "chkNvGraphics",
                          fromTwips(3240, 3240, 2055, 375));
    // Its caption keeps its end: a smaller font where the window's is too wide beside the box.
    const int captionRoom =
        chkNvGraphics->width() -
        style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, chkNvGraphics) -
        style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, chkNvGraphics);
    chkNvGraphics->setFont(fittedFont(chkNvGraphics->font(), AppTexts::NvGraphics, captionRoom));

    // Labels are drawn on the window itself, under every box and button.
    for (QLabel *label : {Label1, Label2, Label3})
        label->lower();
    for (QLabel *label : Label4)
        label->lower();

    LoopCount = new QTimer(this);
    LoopCount->setObjectName(QStringLiteral("LoopCount"));
    LoopCount->setInterval(100);
    TimeOutCount = new QTimer(this);
    TimeOutCount->setObjectName(QStringLiteral("TimeOutCount"));
    TimeOutCount->setInterval(1000);
    TimeOutCount->start();
    // Enabled with no interval: it never ticks, so it is never started.
    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
}

void Main::setTabOrder()
{
    for (QLabel *label : findChildren<QLabel *>())
        label->setFocusPolicy(Qt::NoFocus);
    ProgressBar1->setFocusPolicy(Qt::NoFocus);
    // The command-set choice comes last, so the walk through the original controls is unchanged.
    const QList<QWidget *> order{Command6, Command7, cmbPortList, BMPList,     Command3,
                                 PathList, Command1, Command4,    CmbBaudRate, chkNvGraphics};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
