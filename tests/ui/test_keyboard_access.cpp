// Orl without a mouse and for a screen reader: F6 and Tab between the editor and the palettes, the
// colour picker from the keyboard, the accessible names of palettes, editors, status panels and
// every field of the designer and wizards, and the pictures of windows and toolbar.
#include "app/main_window.h"
#include "common/icons.h"
#include "designer/dialog_designer_window.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"
#include "support/test_env.h"
#include "wizards/alias_creator_window.h"
#include "wizards/colour_picker_window.h"
#include "wizards/variable_creator_window.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QtTest>

namespace {

QWidget *focused()
{
    return QApplication::focusWidget();
}

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(focused(), Qt::Key(key), modifiers);
    QApplication::processEvents();
}

// The fields of a window that a screen reader names: one-line fields, lists and text boxes.
QStringList unnamedFields(const QWidget *form)
{
    QStringList unnamed;
    for (QWidget *widget : form->findChildren<QWidget *>()) {
        const bool field = qobject_cast<QLineEdit *>(widget) || qobject_cast<QComboBox *>(widget)
                           || qobject_cast<QAbstractSpinBox *>(widget) || qobject_cast<QListWidget *>(widget)
                           || qobject_cast<QPlainTextEdit *>(widget);
        // A drop-down list's own line and popup list belong to it.
        const bool partOfAnother = qobject_cast<QComboBox *>(widget->parentWidget())
                                   || (widget->window() != form);
        if (field && !partOfAnother && widget->accessibleName().isEmpty())
            unnamed.append(widget->objectName());
    }
    return unnamed;
}

} // namespace

class KeyboardAccessTest : public ProgramTest {
    Q_OBJECT
public:
    KeyboardAccessTest() : ProgramTest(ErrorBoxes::Forbidden) { }

private:
    TForm2 *focusedEditor()
    {
        TForm2 *editor = TestEnv::newEditor();
        TestEnv::focusText(editor);
        return editor;
    }

private slots:
    void tabGoesFromTheEditorAlongThePalettesAndBack()
    {
        TForm2 *editor = focusedEditor();
        QCOMPARE(focused(), editor->Memo1);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), Orl->OnPanel);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), Orl->Simbol);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), Orl->Comands);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), Orl->Dialog2);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), editor->Memo1);
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focused(), Orl->Dialog2);
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focused(), Orl->Comands);
        editor->Memo1->setFocus();
        press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(focused(), Orl->OnPanel);
        // Reaching a palette appends nothing and Tab never became text; arrows then choose rows.
        QCOMPARE(editor->Memo1->wholeText(), QString());
        press(Qt::Key_Down);
        QCOMPARE(editor->Memo1->wholeText(), u"on *:action:\r\n"_qs);
        // On the second page of the left palettes Tab starts there.
        Orl->PageControl1->setCurrentWidget(Orl->Indent);
        editor->Memo1->setFocus();
        press(Qt::Key_Tab);
        QCOMPARE(focused(), Orl->Indent);
    }

    void f6SwitchesBetweenTheEditorAndTheLastPalette()
    {
        TForm2 *editor = focusedEditor();
        press(Qt::Key_F6);
        QCOMPARE(focused(), Orl->OnPanel);
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), Orl->Comands);
        press(Qt::Key_F6);
        QCOMPARE(focused(), editor->Memo1);
        press(Qt::Key_F6);
        QCOMPARE(focused(), Orl->Comands);
        // With no editor open F6 stays among the palettes.
        editor->close();
        TestEnv::flushDeletes();
        Orl->Simbol->setFocus();
        press(Qt::Key_F6);
        QVERIFY(Orl->paletteRoute().contains(qobject_cast<QListWidget *>(focused())));
    }

    void colourSquaresInsertWithEnterOrSpace()
    {
        TForm2 *editor = focusedEditor();
        Orl->N31Click();
        // The pickers free themselves once they have inserted: the test holds guarded pointers.
        QPointer<TForm10> picker = Form10;
        QVERIFY(picker);
        QCOMPARE(picker->Panel(1)->focusPolicy(), Qt::StrongFocus);
        QTest::keyClick(picker->Panel(5), Qt::Key_Return);
        TestEnv::flushDeletes();
        QVERIFY(!picker || !picker->isVisible());
        Orl->N31Click();
        QTest::keyClick(Form10->Panel(13), Qt::Key_Space);
        TestEnv::flushDeletes();
        QCOMPARE(editor->Memo1->wholeText(), u"\x03" "4\r\n\x03" "12\r\n"_qs);
        // Escape closes a picker and inserts nothing.
        Orl->N31Click();
        QPointer<TForm10> third = Form10;
        QTest::keyClick(third, Qt::Key_Escape);
        TestEnv::flushDeletes();
        QVERIFY(!third || !third->isVisible());
        QCOMPARE(editor->Memo1->wholeText(), u"\x03" "4\r\n\x03" "12\r\n"_qs);
    }

    void thePickerTakesTheKeyboardAndArrowsMoveBetweenSquares()
    {
        TForm2 *editor = focusedEditor();
        press(Qt::Key_K, Qt::ControlModifier);
        TForm10 *picker = Form10;
        QVERIFY(picker);
        QVERIFY(QTest::qWaitForWindowActive(picker));
        QCOMPARE(focused(), picker->Panel(1));
        // Left and right follow the numbers round the two rows; up and down go to the other row.
        press(Qt::Key_Left);
        QCOMPARE(focused(), picker->Panel(16));
        press(Qt::Key_Right);
        press(Qt::Key_Right);
        QCOMPARE(focused(), picker->Panel(2));
        press(Qt::Key_Down);
        QCOMPARE(focused(), picker->Panel(10));
        press(Qt::Key_Down);
        QCOMPARE(focused(), picker->Panel(2));
        press(Qt::Key_Up);
        press(Qt::Key_Right);
        QCOMPARE(focused(), picker->Panel(11));
        press(Qt::Key_Return);
        TestEnv::flushDeletes();
        QCOMPARE(editor->Memo1->wholeText(), u"\x03" "10\r\n"_qs);
    }

    void theDesignerClosesOnEscape()
    {
        Orl->N23Click();
        QPointer<TForm5> designer = Form5.data();
        designer->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(designer));
        designer->Edit1->setFocus();
        QTest::keyClick(designer->Edit1, Qt::Key_Escape);
        TestEnv::flushDeletes();
        QVERIFY(!designer || !designer->isVisible());
    }

    void statusPanelsTellAScreenReaderWhatTheyShow()
    {
        TForm2 *editor = TestEnv::newEditor();
        TestEnv::type(editor->Memo1, u"ab"_qs);
        const auto description = [](QWidget *panel) {
            return QAccessible::queryAccessibleInterface(panel)->text(QAccessible::Description);
        };
        QList<QLabel *> panels = editor->StatusBar1->findChildren<QLabel *>();
        QCOMPARE(panels.size(), 4);
        QCOMPARE(description(panels[0]), u"1:3"_qs);
        QCOMPARE(description(panels[1]), u"Редактирует"_qs);
        QCOMPARE(description(panels[2]), u"script1.mrc"_qs);
        QCOMPARE(description(panels[3]), panels[3]->text());
        QVERIFY(panels[3]->text().contains(u"МБ"_qs));
        QCOMPARE(panels[0]->accessibleName(), u"Строка и столбец"_qs);
        QTest::keyClick(editor->Memo1, Qt::Key_Return);
        QCOMPARE(description(panels[0]), u"2:1"_qs);
    }

    void palettesEditorsAndPanelsHaveNames()
    {
        QCOMPARE(Orl->OnPanel->accessibleName(), u"ON Панель"_qs);
        QCOMPARE(Orl->Indent->accessibleName(), u"Идентифи."_qs);
        QCOMPARE(Orl->Simbol->accessibleName(), u"Символы"_qs);
        QCOMPARE(Orl->Comands->accessibleName(), u"Команды"_qs);
        QCOMPARE(Orl->Dialog2->accessibleName(), u"Диалог. Окна"_qs);
        TForm2 *editor = TestEnv::newEditor();
        QCOMPARE(editor->Memo1->accessibleName(), u"Текст скрипта"_qs);
        QStringList panels;
        for (const QLabel *panel : editor->StatusBar1->findChildren<QLabel *>())
            panels.append(panel->accessibleName());
        QCOMPARE(panels, (QStringList{u"Строка и столбец"_qs, u"Состояние"_qs, u"Имя окна"_qs,
                                      u"Подсветка синтаксиса"_qs}));
    }

    void everyFieldOfTheDesignerAndWizardsIsNamedByItsCaption()
    {
        Orl->N23Click();
        TForm5 *designer = Form5;
        QCOMPARE(unnamedFields(designer).join(u","), QString());
        QCOMPARE(unnamedFields(Form3), QStringList());
        QCOMPARE(unnamedFields(Form4), QStringList());
        QCOMPARE(designer->Edit1->accessibleName(), u"Введите Заголовок Окна *"_qs);
        QCOMPARE(designer->E2->accessibleName(), u"XYWH: X"_qs);
        QCOMPARE(designer->Edit5->accessibleName(), u"XYWH: H"_qs);
        QCOMPARE(designer->Edit6->accessibleName(), u"Загрузить иконку:"_qs);
        QCOMPARE(designer->Edit21->accessibleName(), u"Имя:"_qs);
        QCOMPARE(Form3->AliasName->accessibleName(), u"Впишите ваш новый Алиас"_qs);
        QCOMPARE(Form3->ListBox1->accessibleName(), u"Выберите команду которую будет выполнять алиас:"_qs);
        designer->close();
    }

    void windowsAndToolbarCarryPictures()
    {
        QVERIFY(!Orl->windowIcon().isNull());
        QVERIFY(!Orl->windowIcon().pixmap(32).isNull());
        QVERIFY(!TestEnv::newEditor()->windowIcon().pixmap(16).isNull());
        // Without a desktop theme every picture comes from Orl's own set, none of them empty.
        for (int i = 0; i < 20; ++i)
            QVERIFY2(!imageListIcon(i).pixmap(16).isNull(), qPrintable(QString::number(i)));
        const QImage paste = imageListIcon(12).pixmap(16).toImage();
#ifdef Q_OS_WIN
        // The Windows toolkit draws no SVG: the pictures come as PNG renderings.
        const QImage bundled(u":/icons/png/edit-paste-16.png"_qs);
        QCOMPARE(paste.convertToFormat(bundled.format()), bundled);
#else
        QCOMPARE(paste, QIcon(u":/icons/edit-paste.svg"_qs).pixmap(16).toImage());
#endif
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "test_keyboard_access.moc"
