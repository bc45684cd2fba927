#include "auxiliary/about_window.h"

#include "common/fixed_layout.h"
#include "common/handler_guard.h"
#include "common/text_contrast.h"

#include <QLabel>
#include <QPushButton>

QPointer<TForm11> Form11;

using namespace FixedLayout;

namespace {

const QColor kNavy(0, 0, 128);

// Navy where it reads well on the window's background; under a dark palette, a lighter blue.
QLabel *inNavy(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, TextContrast::readable(kNavy, palette.color(QPalette::Window)));
    label->setPalette(palette);
    return label;
}

} // namespace

TForm11::TForm11(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("О авторе"));
    setUpForm(this, QSize(240, 378), pixelFont(QStringLiteral("MS Sans Serif"), 11), QPalette::Midlight);
    move(338, 192);

    const QString arial = QStringLiteral("Arial");
    const QString sansSerif = QStringLiteral("MS Sans Serif");
    // Authorship is the project's own: it has a name and a team, and neither an e-mail address nor a site.
    Label1 = addLabel(this, QStringLiteral("Label1"), QStringLiteral("Orl"), QRect(40, 16, 140, 74),
                      pixelFont(arial, 64, true, true));
    Label2 = addLabel(this, QStringLiteral("Label2"), QStringLiteral("Vesrion 1.0"), QRect(72, 104, 53, 13));
    Label3 = addLabel(this, QStringLiteral("Label3"), QStringLiteral("Автор, проектировщик, программист"),
                      QRect(16, 136, 190, 13));
    Label4 = addLabel(this, QStringLiteral("Label4"), QStringLiteral(" данной программы"), QRect(16, 152, 101, 13));
    Label5 = addLabel(this, QStringLiteral("Label5"), QStringLiteral("Orl"), QRect(128, 152, 34, 16),
                      pixelFont(sansSerif, 13, true));
    Label6 = addLabel(this, QStringLiteral("Label6"), QStringLiteral("Автор:"), QRect(8, 184, 33, 13));
    Label7 = addLabel(this, QStringLiteral("Label7"), QStringLiteral("команда Orl"), QRect(48, 184, 107, 16),
                      pixelFont(arial, 13, true));
    Label8 = addLabel(this, QStringLiteral("Label8"), QStringLiteral("Версия:"), QRect(8, 216, 40, 13));
    Label9 = addLabel(this, QStringLiteral("Label9"), QStringLiteral("1.0"), QRect(56, 216, 18, 16),
                      pixelFont(arial, 13, true));
    Label10 = addLabel(this, QStringLiteral("Label10"), QStringLiteral("E-MAIL автора"), QRect(8, 248, 73, 13));
    Label11 = inNavy(addLabel(this, QStringLiteral("Label11"), QStringLiteral("нет"), QRect(88, 248, 130, 16),
                              pixelFont(sansSerif, 13, true)));
    Label12 = addLabel(this, QStringLiteral("Label12"), QStringLiteral("Сайт программы:"), QRect(8, 280, 89, 13));
    Label13 = inNavy(addLabel(this, QStringLiteral("Label13"), QStringLiteral("нет"), QRect(104, 280, 132, 14),
                              pixelFont(arial, 11, true)));
    Label14 = addLabel(this, QStringLiteral("Label14"), QStringLiteral("Orl v. 1.0"), QRect(24, 320, 174, 16),
                       pixelFont(arial, 13, true));
    Button1 = addButton(this, QStringLiteral("Button1"), QStringLiteral("Выход"), QRect(8, 352, 75, 25));

    onSignal(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm11::Button1Click()
{
    close();
}
