#include "wizards/colour_picker_window.h"

#include "common/fixed_layout.h"
#include "common/handler_guard.h"
#include "common/text_contrast.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "wizards/wizard_lines.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <optional>

QPointer<TForm10> Form10;

namespace {

struct SquareLayout {
    int left;
    int top;
    int width;
    QRgb colour;
};

// The mIRC colours 0 to 14 in two rows of eight; colour 15 takes the system's dark-shadow colour.
constexpr SquareLayout kSquares[WizardLines::kColourCount] = {
    {0, 0, 17, qRgb(255, 255, 255)},  {24, 0, 17, qRgb(0, 0, 0)},       {48, 0, 17, qRgb(0, 0, 128)},
    {72, 0, 17, qRgb(0, 128, 0)},     {96, 0, 17, qRgb(255, 0, 0)},     {120, 0, 17, qRgb(128, 0, 0)},
    {144, 0, 17, qRgb(128, 0, 128)},  {168, 0, 17, qRgb(128, 128, 0)},  {0, 24, 17, qRgb(255, 255, 0)},
    {24, 24, 17, qRgb(0, 255, 0)},    {48, 24, 17, qRgb(0, 128, 128)},  {72, 24, 17, qRgb(0, 255, 255)},
    {96, 24, 17, qRgb(0, 0, 255)},    {120, 24, 17, qRgb(255, 0, 255)}, {144, 24, 17, qRgb(192, 192, 192)},
    {169, 24, 15, 0},
};
constexpr int kDarkShadowSquare = 15;
constexpr int kSquareHeight = 17;

} // namespace

ColourSquare::ColourSquare(const QString &number, const QColor &colour, QWidget *parent) : QLabel(number, parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(1);
    QPalette squarePalette = palette();
    squarePalette.setColor(QPalette::Window, colour);
    // The number, and the focus frame drawn in its colour, in black or white: whichever reads better
    // on the square.
    const bool white = TextContrast::ratio(Qt::white, colour) > TextContrast::ratio(Qt::black, colour);
    squarePalette.setColor(QPalette::WindowText, white ? Qt::white : Qt::black);
    setPalette(squarePalette);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Цвет %1").arg(number));
    setAccessibleDescription(QStringLiteral("Вставляет код цвета %1").arg(number));
}

void ColourSquare::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        emit clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ColourSquare::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // The square that has the keyboard is marked by a dotted frame in the number's colour.
    QPainter painter(this);
    QPen pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
}

void ColourSquare::mousePressEvent(QMouseEvent *event)
{
    // Taken here, so that a press on a square is not also a press on the picker's background.
    event->accept();
}

void ColourSquare::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

TForm10::TForm10(QWidget *parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Цвета"));
    FixedLayout::setUpForm(this, QSize(188, 44), FixedLayout::pixelFont(QStringLiteral("MS Sans Serif"), 11),
                           QPalette::Button);

    for (int i = 0; i < WizardLines::kColourCount; ++i) {
        const SquareLayout &square = kSquares[i];
        const QColor colour = i == kDarkShadowSquare ? palette().color(QPalette::Shadow) : QColor(square.colour);
        auto *panel = new ColourSquare(QString::number(i), colour, this);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panel->setGeometry(square.left, square.top, square.width, kSquareHeight);
        onSignal(panel, &ColourSquare::clicked, this, [this, panel] { PanelClick(panel); });
        m_panels.append(panel);
    }
    show();
    // Opened from the keyboard (Ctrl+K), the picker takes the keyboard at once.
    raise();
    activateWindow();
    m_panels.first()->setFocus(Qt::OtherFocusReason);
}

void TForm10::PanelClick(ColourSquare *sender)
{
    // The picker stays open while the user works on, so the editor it was opened for may be gone.
    if (Form2)
        Form2->Memo1->appendAsLine(WizardLines::colourCode(sender->text()));
    close();
}

void TForm10::FormClick()
{
    close();
}

namespace {

// Where an arrow key leads from a square in the two rows of eight: left and right along the
// squares' numbers, wrapping from 15 to 0 and back; up and down to the other row.
std::optional<int> squareAfterArrow(int square, int key)
{
    constexpr int kRowLength = WizardLines::kColourCount / 2;
    const auto wrapped = [](int n) { return (n + WizardLines::kColourCount) % WizardLines::kColourCount; };
    switch (key) {
    case Qt::Key_Left: return wrapped(square - 1);
    case Qt::Key_Right: return wrapped(square + 1);
    case Qt::Key_Up:
    case Qt::Key_Down: return wrapped(square + kRowLength);
    case Qt::Key_Home: return 0;
    case Qt::Key_End: return WizardLines::kColourCount - 1;
    default: return std::nullopt;
    }
}

} // namespace

void TForm10::keyPressEvent(QKeyEvent *event)
{
    // Escape closes the picker without inserting anything, as a click on its background does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        runGuarded([this] { FormClick(); });
        return;
    }
    const int focused = int(m_panels.indexOf(qobject_cast<ColourSquare *>(focusWidget())));
    if (const std::optional<int> next = squareAfterArrow(qMax(0, focused), event->key());
        next && !(event->modifiers() & ~Qt::KeypadModifier)) {
        event->accept();
        m_panels.at(*next)->setFocus(Qt::OtherFocusReason);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm10::mousePressEvent(QMouseEvent *event)
{
    m_pressedOnBackground = event->button() == Qt::LeftButton;
    event->accept();
}

void TForm10::mouseReleaseEvent(QMouseEvent *event)
{
    const bool clicked = m_pressedOnBackground && event->button() == Qt::LeftButton
                         && rect().contains(event->position().toPoint());
    m_pressedOnBackground = false;
    event->accept();
    if (clicked)
        runGuarded([this] { FormClick(); });
}
