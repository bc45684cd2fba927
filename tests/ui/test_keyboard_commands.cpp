// The menus from the keyboard alone: F10 and a lone Alt reach the menu bar, every caption has a
// letter of its own, the script windows are switched, listed and closed with keys.
#include "app/main_window.h"
#include "app/remembered.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"
#include "support/test_env.h"

#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QtTest>

namespace {

void press(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(widget, key, modifiers);
    QApplication::processEvents();
}

QWidget *focused()
{
    return QApplication::focusWidget();
}

// A lone Alt, pressed and released as the window system reports it.
void pressLoneAlt(QWidget *widget)
{
    QKeyEvent shortcutOverride(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::AltModifier);
    QApplication::sendEvent(widget, &shortcutOverride);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    QApplication::processEvents();
}

// The letter after the caption's one "&", or a null character where there is none or more than one.
QChar mnemonicOf(const QString &caption)
{
    QChar letter;
    int count = 0;
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&') {
            letter = caption.at(i + 1).toLower();
            ++count;
        }
        ++i;
    }
    return count == 1 ? letter : QChar();
}

// The visible items of a menu or of the menu bar.
QList<QAction *> itemsOf(const QWidget *menu)
{
    QList<QAction *> items;
    for (QAction *item : menu->actions()) {
        if (!item->isSeparator() && item->isVisible())
            items.append(item);
    }
    return items;
}

QStringList plainCaptions(const QWidget *menu)
{
    QStringList captions;
    for (const QAction *item : itemsOf(menu))
        captions.append(QString(item->text()).remove(QRegularExpression(u"&(?!&)"_qs)));
    return captions;
}

// Every item of the menu and its submenus that lacks a letter of its own, or shares it.
void collectMnemonicFaults(const QWidget *menu, const QString &where, QStringList &faults)
{
    QHash<QChar, QString> taken;
    for (const QAction *item : itemsOf(menu)) {
        const QString name = where + u" / "_qs + item->text();
        const QChar letter = mnemonicOf(item->text());
        if (letter.isNull())
            faults.append(u"no letter: "_qs + name);
        else if (taken.contains(letter))
            faults.append(u"%1 shares its letter with %2"_qs.arg(name, taken.value(letter)));
        else
            taken.insert(letter, name);
        if (QMenu *submenu = item->menu()) {
            emit submenu->aboutToShow(); // menus made when they open
            collectMnemonicFaults(submenu, name, faults);
        }
    }
}

} // namespace

class KeyboardCommandsTest : public ProgramTest {
    Q_OBJECT
public:
    KeyboardCommandsTest() : ProgramTest(ErrorBoxes::Forbidden) { }

private:
    QList<TForm2 *> threeEditors()
    {
        const QList<TForm2 *> editors{TestEnv::newEditor(), TestEnv::newEditor(), TestEnv::newEditor()};
        TestEnv::focusText(editors.last());
        return editors;
    }

    QStringList windowList() const
    {
        QStringList items;
        for (const QAction *item : Orl->windowListItems())
            items.append((item->isChecked() ? u"* "_qs : u"  "_qs) + item->text());
        return items;
    }

private slots:
    void everyMenuAndItemHasALetterOfItsOwnAndKeepsItsCaption()
    {
        // The dynamic menus filled too: recent files and the window list.
        Remembered::addRecentFile(path(u"one.mrc"_qs));
        Remembered::addRecentFile(path(u"two & three.mrc"_qs));
        threeEditors();
        QStringList faults;
        collectMnemonicFaults(Orl->menuBar(), u"menu bar"_qs, faults);
        QCOMPARE(faults.join(u'\n'), QString());
        QVERIFY(Orl->recentFilesMenu()->actions().size() == 2);
        QCOMPARE(Orl->windowListItems().size(), 3);

        QCOMPARE(plainCaptions(Orl->menuBar()),
                 (QStringList{u"Файл"_qs, u"Форматирование"_qs, u"Создать"_qs, u"Окна"_qs, u"Поиск"_qs, u"Инфо."_qs}));
        QCOMPARE(plainCaptions(Orl->N1->menu()),
                 (QStringList{u"Создать..."_qs, u"Закрыть"_qs, u"Открыть..."_qs, u"Последние файлы"_qs,
                              u"Сохранить"_qs, u"Сохранить как..."_qs, u"Кодировка"_qs, u"Выход"_qs}));
        QCOMPARE(plainCaptions(Orl->N10->menu()),
                 (QStringList{u"Копировать..."_qs, u"Вставить..."_qs, u"Выделить всё..."_qs, u"Закоментировать"_qs,
                              u"Отступить от начала"_qs, u"Очистить редактор"_qs}));
        QCOMPARE(plainCaptions(Orl->N19->menu()).mid(0, 3), (QStringList{u"Алиас"_qs, u"Переменную"_qs,
                                                                         u"Создать диалоговое окно"_qs}));
        QCOMPARE(plainCaptions(Orl->N19->menu()).last(), u"Цвет"_qs);
        QCOMPARE(plainCaptions(Orl->N24->menu()).mid(0, 3),
                 (QStringList{u"Каскадом"_qs, u"Вытроить значки"_qs, u"Упорадочит"_qs}));
        QCOMPARE(plainCaptions(Orl->N27->menu()), (QStringList{u"По Горизонтали"_qs, u"По вертикали"_qs}));
        QCOMPARE(plainCaptions(Orl->N42->menu()).mid(0, 2), (QStringList{u"Поиск"_qs, u"Заменить"_qs}));
        QCOMPARE(plainCaptions(Orl->N37->menu()), QStringList{u"О аторе"_qs});
        // An & in a file's path is shown, not taken for the item's letter.
        QCOMPARE(Orl->recentFilesMenu()->actions().first()->text(), u"&1 %1"_qs.arg(path(u"two && three.mrc"_qs)));
    }

    void f10AndALoneAltReachTheMenusAndTheirLettersRunTheItems()
    {
        TForm2 *editor = threeEditors().last();
        QCOMPARE(focused(), editor->Memo1);
        // F10 opens "Файл"; its letter х runs "Сохранить", which asks for a name here.
        press(editor->Memo1, Qt::Key_F10);
        QCOMPARE(QApplication::activePopupWidget(), Orl->N1->menu());
        dialogs->cancelFile();
        TestEnv::type(Orl->N1->menu(), u"х"_qs);
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(dialogs->fileRequests.size(), 1);
        QCOMPARE(dialogs->fileRequests.last().kind, Dialogs::FileRequest::Kind::Save);

        // A lone Alt selects the menu bar without opening a menu; the letter о then opens "Окна",
        // and у its "Упорадочит".
        editor->Memo1->setFocus();
        pressLoneAlt(editor->Memo1);
        QCOMPARE(Orl->menuBar()->activeAction(), Orl->N1);
        QVERIFY(!QApplication::activePopupWidget());
        TestEnv::type(focused(), u"о"_qs);
        QCOMPARE(QApplication::activePopupWidget(), Orl->N24->menu());
        TestEnv::type(Orl->N24->menu(), u"у"_qs);
        QCOMPARE(QApplication::activePopupWidget(), Orl->N27->menu());
        press(QApplication::activePopupWidget(), Qt::Key_Escape);
        press(QApplication::activePopupWidget(), Qt::Key_Escape);
        QVERIFY(!QApplication::activePopupWidget());
        // Alt with another key is no lone Alt: the menu bar stays unselected.
        press(Orl->menuBar(), Qt::Key_Escape);
        editor->Memo1->setFocus();
        press(editor->Memo1, Qt::Key_X, Qt::AltModifier);
        QVERIFY(!Orl->menuBar()->activeAction());
    }

    void aLoneAltSelectsTheMenuBarUnderAStyleThatLeavesItOut()
    {
        // Some desktops' styles leave the lone Alt to the desktop; the menu bar takes it all the same.
        class AltIgnored : public QProxyStyle {
        public:
            AltIgnored() : QProxyStyle(u"fusion"_qs) { }
            int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                          QStyleHintReturn *returnData) const override
            {
                return hint == SH_MenuBar_AltKeyNavigation ? 0 : QProxyStyle::styleHint(hint, option, widget, returnData);
            }
        };
        TestEnv::endProgram();
        const QString original = QApplication::style()->name();
        QApplication::setStyle(new AltIgnored);
        TestEnv::startProgram();
        TForm2 *editor = threeEditors().last();
        pressLoneAlt(editor->Memo1);
        const bool fileMenuSelected = Orl->menuBar()->activeAction() == Orl->N1;
        TestEnv::endProgram();
        QApplication::setStyle(original);
        QVERIFY(fileMenuSelected);
    }

    void ctrlF6GoesRoundTheWindowsAndTheWindowListFollows()
    {
        const QList<TForm2 *> editors = threeEditors();
        QCOMPARE(windowList(), (QStringList{u"  &1 script1.mrc"_qs, u"  &2 script2.mrc"_qs, u"* &3 script3.mrc"_qs}));
        press(focused(), Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(Orl->ActiveMDIChild(), editors[0]);
        QCOMPARE(focused(), editors[0]->Memo1);
        press(focused(), Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(Orl->ActiveMDIChild(), editors[1]);
        press(focused(), Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
        press(focused(), Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Orl->ActiveMDIChild(), editors[2]);
        QCOMPARE(focused(), editors[2]->Memo1);

        // Alt+number in the editor chooses the window and types nothing.
        press(focused(), Qt::Key_2, Qt::AltModifier);
        QCOMPARE(Orl->ActiveMDIChild(), editors[1]);
        QCOMPARE(windowList(), (QStringList{u"  &1 script1.mrc"_qs, u"* &2 script2.mrc"_qs, u"  &3 script3.mrc"_qs}));
        for (const TForm2 *editor : editors)
            QCOMPARE(editor->Memo1->wholeText(), QString());
        // The item itself, as a click runs it.
        Orl->windowListItems().at(0)->trigger();
        QCOMPARE(Orl->ActiveMDIChild(), editors[0]);
        QCOMPARE(focused(), editors[0]->Memo1);

        // Ctrl+F4 closes the active window; the list is numbered again.
        press(focused(), Qt::Key_F4, Qt::ControlModifier);
        TestEnv::flushDeletes();
        QCOMPARE(Orl->MDIChildCount(), 2);
        QCOMPARE(Orl->windowListItems().size(), 2);
        QCOMPARE(Orl->windowListItems().at(0)->text(), u"&1 script2.mrc"_qs);
        QVERIFY(Orl->windowListItems().at(0)->isChecked() != Orl->windowListItems().at(1)->isChecked());
        // A window closed while another is active leaves the list too.
        editors[2]->close();
        TestEnv::flushDeletes();
        QCOMPARE(windowList(), QStringList{u"* &1 script2.mrc"_qs});
        editors[1]->close();
        TestEnv::flushDeletes();
        QCOMPARE(windowList(), QStringList());
        // With no window, the keys do nothing.
        Orl->NextWindow->trigger();
        Orl->PreviousWindow->trigger();
        QCOMPARE(Orl->MDIChildCount(), 0);
    }

    void saveHasItsOwnKeyAndEveryKeyOfTheMenusIsDifferent()
    {
        TForm2 *editor = threeEditors().last();
        QCOMPARE(Orl->N6->shortcut(), QKeySequence(u"Shift+Ctrl+S"_qs));
        dialogs->chooseFile(path(u"saved.mrc"_qs));
        press(editor->Memo1, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dialogs->fileRequests.size(), 1);
        QCOMPARE(editor->fileName(), path(u"saved.mrc"_qs));
        QCOMPARE(Orl->N7->shortcut(), QKeySequence(u"Ctrl+S"_qs));

        TestEnv::flushDeletes();
        QHash<QKeySequence, QString> owners;
        QStringList clashes;
        const QList<QAction *> actions = Orl->findChildren<QAction *>();
        for (const QAction *action : actions) {
            // A text's own keys act in that text alone.
            if (action->shortcutContext() == Qt::WidgetShortcut)
                continue;
            for (const QKeySequence &key : action->shortcuts()) {
                if (owners.contains(key))
                    clashes.append(u"%1: %2 and %3"_qs.arg(key.toString(), owners.value(key), action->text()));
                owners.insert(key, action->text());
            }
        }
        QCOMPARE(clashes.join(u'\n'), QString());
    }
};

QTEST_MAIN(KeyboardCommandsTest)
#include "test_keyboard_commands.moc"
