#include "designer/dialog_preview_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVBoxLayout>

using namespace DialogTable;

DialogGroupFrame::DialogGroupFrame(const QString &title, Qt::Alignment titleAlignment, QWidget *parent)
    : QWidget(parent), m_title(DialogPreviewControls::withoutMnemonics(title)), m_titleAlignment(titleAlignment)
{
}

QRect DialogGroupFrame::titleRect() const
{
    constexpr int kInset = 7; // from either end of the top line
    const QFontMetrics metrics = fontMetrics();
    const int rectWidth = qMax(0, qMin(metrics.horizontalAdvance(m_title), width() - 2 * kInset)) + 4;
    int left = kInset;
    if (m_titleAlignment & Qt::AlignHCenter)
        left = (width() - rectWidth) / 2;
    else if (m_titleAlignment & Qt::AlignRight)
        left = width() - kInset - rectWidth;
    return QRect(left, 0, rectWidth, metrics.height());
}

void DialogGroupFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int top = metrics.height() / 2;
    const QRect frame = rect().adjusted(0, top, -2, -2);
    // Etched: a dark line with a light one just below and right of it.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.translated(1, 1));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
    if (m_title.isEmpty())
        return;
    const QRect title = titleRect();
    painter.fillRect(title, palette().color(QPalette::Window));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(title.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, m_title);
}

namespace DialogPreviewControls {
namespace {

Qt::Alignment horizontalAlignment(const Control &control)
{
    if (control.hasStyle(u"center"_qs))
        return Qt::AlignHCenter;
    if (control.hasStyle(u"right"_qs))
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

QWidget *textControl(const Control &control)
{
    auto *label = new QLabel(withoutMnemonics(control.text.text));
    label->setWordWrap(!control.hasStyle(u"nowrap"_qs));
    label->setAlignment(horizontalAlignment(control) | Qt::AlignTop);
    return label;
}

QWidget *linkControl(const Control &control)
{
    auto *label = new QLabel(withoutMnemonics(control.text.text));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    return label;
}

Qt::ScrollBarPolicy barPolicy(const Control &control, const QString &word)
{
    return control.hasStyle(word) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
}

// Windows fills a read-only edit box with the dialog's face colour instead of white.
void showReadOnlyAsWindowsDoes(QWidget *edit)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
}

QWidget *editControl(const Control &control)
{
    if (control.hasStyle(u"multi"_qs)) {
        auto *edit = new QPlainTextEdit(control.text.text);
        edit->setReadOnly(control.hasStyle(u"read"_qs));
        edit->setLineWrapMode(control.hasStyle(u"autohs"_qs) || control.hasStyle(u"hsbar"_qs)
                                  ? QPlainTextEdit::NoWrap
                                  : QPlainTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy(barPolicy(control, u"vsbar"_qs));
        edit->setHorizontalScrollBarPolicy(barPolicy(control, u"hsbar"_qs));
        return edit;
    }
    auto *edit = new QLineEdit(control.text.text);
    edit->setReadOnly(control.hasStyle(u"read"_qs));
    if (control.hasStyle(u"pass"_qs))
        edit->setEchoMode(QLineEdit::Password);
    // A one-line edit box taller than its line shows the line at its top.
    edit->setAlignment(horizontalAlignment(control) | Qt::AlignTop);
    edit->setCursorPosition(0);
    return edit;
}

// A push button whose caption wraps onto several lines.
void wrapCaption(QPushButton *button, const QString &caption)
{
    auto *layout = new QVBoxLayout(button);
    layout->setContentsMargins(4, 2, 4, 2);
    auto *label = new QLabel(caption);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
}

// A check box whose text wraps onto several lines beside its box ("multi"), on either side of it.
void wrapCaption(QCheckBox *check, const QString &caption)
{
    QStyleOptionButton option;
    option.initFrom(check);
    const QRect box = check->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, check);
    const int spacing = check->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, check);
    auto *layout = new QHBoxLayout(check);
    layout->setContentsMargins(box.width() + spacing, 0, 0, 0);
    auto *label = new QLabel(caption);
    label->setObjectName(u"caption"_qs);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(label);
}

QWidget *buttonControl(const Control &control)
{
    const QString caption = control.text.text;
    auto *button = new QPushButton(control.hasStyle(u"multi"_qs) ? QString() : caption);
    if (control.hasStyle(u"multi"_qs))
        wrapCaption(button, withoutMnemonics(caption));
    button->setDefault(control.hasStyle(u"default"_qs));
    button->setFlat(control.hasStyle(u"flat"_qs));
    return button;
}

// A check box or radio button; "push" makes it a button that stays pressed.
QWidget *toggleControl(const Control &control)
{
    const QString caption = control.text.text;
    const bool wraps = control.kind == u"check" && control.hasStyle(u"multi"_qs);
    if (control.hasStyle(u"push"_qs)) {
        auto *button = new QPushButton(wraps ? QString() : caption);
        if (wraps)
            wrapCaption(button, withoutMnemonics(caption));
        button->setCheckable(true);
        button->setFlat(control.hasStyle(u"flat"_qs));
        return button;
    }
    QAbstractButton *toggle = nullptr;
    if (control.kind == u"check") {
        auto *check = new QCheckBox(wraps ? QString() : caption);
        if (wraps)
            wrapCaption(check, withoutMnemonics(caption));
        check->setTristate(control.hasStyle(u"3state"_qs));
        toggle = check;
    } else {
        toggle = new QRadioButton(caption);
    }
    // "left" puts the text on the left of its box.
    if (control.hasStyle(u"left"_qs))
        toggle->setLayoutDirection(Qt::RightToLeft);
    return toggle;
}

QWidget *boxControl(const Control &control)
{
    return new DialogGroupFrame(control.text.text, horizontalAlignment(control));
}

QWidget *scrollControl(const Control &control)
{
    auto *bar = new QScrollBar(control.hasStyle(u"horizontal"_qs) ? Qt::Horizontal : Qt::Vertical);
    for (const StyleWord &style : control.styles) {
        if (style.word == u"range" && style.numbers.size() == 2 && style.numbers.at(0).isWhole()
            && style.numbers.at(1).isWhole())
            bar->setRange(style.numbers.at(0).value, style.numbers.at(1).value);
    }
    return bar;
}

QListWidget *listBox(const Control &control)
{
    auto *list = new QListWidget;
    list->setVerticalScrollBarPolicy(control.hasStyle(u"vsbar"_qs) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollBarPolicy(control.hasStyle(u"hsbar"_qs) ? Qt::ScrollBarAlwaysOn
                                                                     : Qt::ScrollBarAsNeeded);
    return list;
}

// A drop-down combo shows one line (its height is that of the opened list); any other combo is an
// edit field above a list that is always open.
QWidget *comboControl(const Control &control)
{
    if (control.hasStyle(u"drop"_qs)) {
        auto *combo = new QComboBox;
        combo->setEditable(control.hasStyle(u"edit"_qs));
        return combo;
    }
    auto *frame = new QWidget;
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new QLineEdit);
    layout->addWidget(listBox(control), 1);
    return frame;
}

// Where a picture smaller than its control stands in it: in the middle unless "top", "left",
// "bottom" or "right" say otherwise.
Qt::Alignment pictureAlignment(const Control &control)
{
    Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    if (control.hasStyle(u"left"_qs))
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft;
    else if (control.hasStyle(u"right"_qs))
        alignment = (alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignRight;
    if (control.hasStyle(u"top"_qs))
        alignment = (alignment & ~Qt::AlignVertical_Mask) | Qt::AlignTop;
    else if (control.hasStyle(u"bottom"_qs))
        alignment = (alignment & ~Qt::AlignVertical_Mask) | Qt::AlignBottom;
    return alignment;
}

// The picture at the size its styles ask for: an icon's small (16) or large (32) size, its own size
// ("actual"), or else fitted to the control.
QPixmap sizedPicture(const Control &control, const QPixmap &picture, const QSize &size)
{
    if (control.hasStyle(u"small"_qs))
        return picture.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (control.hasStyle(u"large"_qs))
        return picture.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (control.hasStyle(u"actual"_qs))
        return picture;
    return picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QWidget *iconControl(const Control &control, const QSize &size, const QString &pictureFolder)
{
    auto *label = new QLabel;
    label->setAlignment(Qt::AlignCenter);
    const QString path = picturePath(control.file, pictureFolder);
    QPixmap picture;
    if (!path.isEmpty() && QFileInfo(path).isFile())
        picture.load(path);
    label->setToolTip(path);
    if (picture.isNull()) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setWordWrap(true);
        label->setText(control.file.trimmed().isEmpty() ? u"нет картинки"_qs
                                                        : u"нет файла\n"_qs + QFileInfo(path).fileName());
        return label;
    }
    if (!control.hasStyle(u"noborder"_qs))
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(pictureAlignment(control));
    label->setPixmap(sizedPicture(control, picture, size));
    label->setObjectName(u"picture"_qs);
    return label;
}

QWidget *widgetFor(const Control &control, const QSize &size, const QString &pictureFolder)
{
    const QString &kind = control.kind;
    if (kind == u"text")
        return textControl(control);
    if (kind == u"link")
        return linkControl(control);
    if (kind == u"edit")
        return editControl(control);
    if (kind == u"button")
        return buttonControl(control);
    if (kind == u"check" || kind == u"radio")
        return toggleControl(control);
    if (kind == u"box")
        return boxControl(control);
    if (kind == u"scroll")
        return scrollControl(control);
    if (kind == u"list")
        return listBox(control);
    if (kind == u"combo")
        return comboControl(control);
    if (kind == u"icon")
        return iconControl(control, size, pictureFolder);
    return nullptr;
}

} // namespace

int pixelsX(const DialogModel &model, int value)
{
    return DialogTable::pixelsX(model.units, value);
}

int pixelsY(const DialogModel &model, int value)
{
    return DialogTable::pixelsY(model.units, value);
}

QRect pixelRect(const DialogModel &model, const Control &control)
{
    return QRect(pixelsX(model, control.x()), pixelsY(model, control.y()), pixelsX(model, control.width()),
                 pixelsY(model, control.height()));
}

QString picturePath(const QString &file, const QString &folder)
{
    const QString trimmed = file.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u'%') || trimmed.startsWith(u'$'))
        return QString();
    QString path = trimmed;
    path.replace(u'\\', u'/');
    if (QDir::isRelativePath(path) && !folder.isEmpty())
        path = QDir(folder).filePath(path);
    return QDir::cleanPath(path);
}

namespace {

// A scroll bar given a side stands there at Windows's thickness instead of filling its area. Windows
// has one flag for left and top and one for right and bottom: each means the side across the bar.
QRect scrollBarRect(const Control &control, const QRect &area)
{
    const bool nearSide = control.hasStyle(u"left"_qs) || control.hasStyle(u"top"_qs);
    const bool farSide = control.hasStyle(u"right"_qs) || control.hasStyle(u"bottom"_qs);
    if (!nearSide && !farSide)
        return area;
    if (control.hasStyle(u"horizontal"_qs)) {
        const int height = qMin(kScrollBarThickness, area.height());
        const int top = nearSide ? area.top() : area.bottom() + 1 - height;
        return QRect(area.left(), top, area.width(), height);
    }
    const int width = qMin(kScrollBarThickness, area.width());
    const int left = nearSide ? area.left() : area.right() + 1 - width;
    return QRect(left, area.top(), width, area.height());
}

} // namespace

QWidget *create(const DialogModel &model, const Control &control, QWidget *client, const QString &pictureFolder)
{
    if (!control.geometryKnown())
        return nullptr;
    QRect rect = pixelRect(model, control);
    QWidget *widget = widgetFor(control, rect.size(), pictureFolder);
    if (!widget)
        return nullptr;
    if (control.kind == u"combo" && control.hasStyle(u"drop"_qs))
        rect.setHeight(qMin(rect.height(), widget->sizeHint().height()));
    if (control.kind == u"scroll")
        rect = scrollBarRect(control, rect);
    widget->setParent(client);
    widget->setGeometry(rect);
    if (control.kind == u"edit" && control.hasStyle(u"read"_qs))
        showReadOnlyAsWindowsDoes(widget);
    widget->setEnabled(!control.hasStyle(u"disable"_qs));
    makeLookOnly(widget);
    return widget;
}

void makeLookOnly(QWidget *widget)
{
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    widget->setFocusPolicy(Qt::NoFocus);
    for (QWidget *child : widget->findChildren<QWidget *>())
        child->setFocusPolicy(Qt::NoFocus);
}

QString withoutMnemonics(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size()) {
            ++i; // "&x" shows x, "&&" shows one "&"
        }
        shown.append(text.at(i));
    }
    return shown;
}

} // namespace DialogPreviewControls
