// Every text of the program's windows reads well on its background, under a light and a dark
// palette: labels, check boxes, buttons, fields and lists, the about window's coloured lines, the
// designer's warning and the colour picker's numbers.
#include "app/main_window.h"
#include "auxiliary/about_window.h"
#include "auxiliary/search_window.h"
#include "common/text_contrast.h"
#include "designer/dialog_designer_window.h"
#include "editor/find_replace_dialogs.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"
#include "support/test_env.h"
#include "wizards/alias_creator_window.h"
#include "wizards/colour_picker_window.h"
#include "wizards/variable_creator_window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// What a desktop's dark colour scheme gives: light text on dark grey, black fields.
QPalette darkPalette()
{
    QPalette palette(QColor(53, 53, 53));
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

QPalette lightPalette()
{
    return QPalette(QColor(239, 239, 239));
}

// The colour a widget without a background of its own is drawn on: that of the nearest widget
// below it that fills its background, or of its window.
QColor backgroundBehind(const QWidget *widget)
{
    for (const QWidget *at = widget; at; at = at->parentWidget()) {
        if (at->autoFillBackground() || at->isWindow())
            return at->palette().color(at->backgroundRole());
    }
    return {};
}

struct Text {
    QString what;
    QColor foreground;
    QColor background;
};

// The text a widget shows and the two colours it is drawn in; nothing for widgets without text.
std::optional<Text> textOf(const QWidget *widget)
{
    const QPalette &palette = widget->palette();
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        if (label->text().isEmpty())
            return std::nullopt;
        return Text{label->text(), palette.color(label->foregroundRole()), backgroundBehind(label)};
    }
    if (const auto *button = qobject_cast<const QPushButton *>(widget))
        return Text{button->text(), palette.color(QPalette::ButtonText), palette.color(QPalette::Button)};
    if (const auto *box = qobject_cast<const QAbstractButton *>(widget)) // check boxes, radio buttons
        return Text{box->text(), palette.color(QPalette::WindowText), backgroundBehind(box->parentWidget())};
    if (const auto *group = qobject_cast<const QGroupBox *>(widget))
        return Text{group->title(), palette.color(QPalette::WindowText), backgroundBehind(group)};
    if (qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget)
        || qobject_cast<const QPlainTextEdit *>(widget) || qobject_cast<const QAbstractItemView *>(widget))
        return Text{widget->objectName(), palette.color(QPalette::Text), palette.color(QPalette::Base)};
    return std::nullopt;
}

QStringList poorlyReadable(const QWidget *window)
{
    QStringList faults;
    QList<const QWidget *> widgets{window};
    for (const QWidget *child : window->findChildren<QWidget *>()) {
        if (child->window() == window)
            widgets.append(child);
    }
    for (const QWidget *widget : widgets) {
        // Disabled controls are exempt, as the guidelines have them.
        if (!widget->isEnabled())
            continue;
        const std::optional<Text> text = textOf(widget);
        if (!text)
            continue;
        const double ratio = TextContrast::ratio(text->foreground, text->background);
        if (ratio < TextContrast::kLeastRatio)
            faults.append(u"%1 \"%2\" %3 on %4: %5"_qs.arg(widget->objectName(), text->what.left(30),
                                                           text->foreground.name(), text->background.name())
                              .arg(ratio, 0, 'f', 2));
    }
    return faults;
}

} // namespace

class TextContrastTest : public ProgramTest {
    Q_OBJECT
public:
    TextContrastTest() : ProgramTest(ErrorBoxes::Forbidden, Start::ByTheTest) { }

protected:
    void tearDownTest() override { QApplication::setPalette(m_original); }

private:
    QPalette m_original = QApplication::palette();

private slots:
    void everyTextReadsWell_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << lightPalette();
        QTest::newRow("dark") << darkPalette();
    }

    void everyTextReadsWell()
    {
        QFETCH(QPalette, palette);
        QApplication::setPalette(palette);
        TestEnv::startProgram();
        TForm2 *editor = TestEnv::newEditor();
        TestEnv::type(editor->Memo1, u"x"_qs);
        Orl->N23Click();
        Orl->N31Click();
        const QList<const QWidget *> windows{Orl, editor->FindDialog1, editor->ReplaceDialog1, Form5, Form10,
                                             Form11, Form3, Form4, Form8};
        QStringList faults;
        for (const QWidget *window : windows)
            faults.append(poorlyReadable(window));
        QCOMPARE(faults.join(u'\n'), QString());
        // The coloured lines keep their hue: navy and red where they read well, lighter where not.
        const QColor email = Form11->Label11->palette().color(QPalette::WindowText);
        QVERIFY(email.blue() > email.red() && email.blue() > email.green());
        const QColor warning = Form5->Label3->palette().color(QPalette::WindowText);
        QVERIFY(warning.red() > warning.green() && warning.red() > warning.blue());
    }
};

QTEST_MAIN(TextContrastTest)
#include "test_text_contrast.moc"
