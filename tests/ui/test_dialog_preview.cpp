// The dialog preview: controls drawn where the table puts them, redrawn after an edit of the text,
// tab pages, pictures, and problems that lead the caret to their lines.
#include "designer/dialog_preview_controls.h"
#include "designer/dialog_preview_window.h"
#include "editor/script_memo.h"
#include "language/dialog_checks.h"
#include "support/kb_dialog_examples.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using DialogChecks::Severity;

namespace {

const QString kSmallTable = u"alias small { dialog -m small small }\n"
                            u"dialog small {\n"
                            u"  title \"Small\"\n"
                            u"  size -1 -1 200 120\n"
                            u"  option pixels\n"
                            u"  edit \"name\", 2, 10 10 120 20\n"
                            u"  check \"Flag\", 3, 10 40 100 20, left\n"
                            u"  box \"Frame\", 5, 140 5 55 60\n"
                            u"  button \"OK\", 1, 10 80 60 24, ok default\n"
                            u"}\n"_qs;

QWidget *control(DialogPreviewWindow *window, int id)
{
    return window->dialogClient()->findChild<QWidget *>(u"control_%1"_qs.arg(id));
}

// An 8 by 8 picture.
bool savePicture(const QString &path)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    return picture.save(path);
}

// The preview of the memo's text with the caret on `caretLine`.
std::unique_ptr<DialogPreviewWindow> previewOf(ScriptMemo &memo, const QString &text, int caretLine)
{
    memo.loadText(text);
    memo.setSelStart(memo.lineStartOffset(caretLine));
    return std::unique_ptr<DialogPreviewWindow>(showDialogPreview(&memo, nullptr));
}

} // namespace

class DialogPreviewTest : public QObject {
    Q_OBJECT
private slots:
    void lineStartsCountEachLineBreakAsTwoCharacters()
    {
        ScriptMemo memo;
        memo.loadText(u"ab\ncde\n\nf"_qs);
        QCOMPARE(memo.lineStartOffset(0), qsizetype(0));
        QCOMPARE(memo.lineStartOffset(1), qsizetype(4));
        QCOMPARE(memo.lineStartOffset(3), qsizetype(11));
    }

    void smallTableShowsItsControlsWhereTheTableSays()
    {
        ScriptMemo memo;
        auto window = previewOf(memo, kSmallTable, 5);
        QCOMPARE(window->windowTitle(), u"Предпросмотр диалога"_qs);
        QVERIFY(window->windowFlags().testFlag(Qt::Tool));
        QCOMPARE(window->followedName(), u"small"_qs);
        QCOMPARE(window->dialogClient()->size(), QSize(200, 120));
        QCOMPARE(window->findChild<QLabel *>(u"dialogTitle"_qs)->text(), u"Small"_qs);

        QCOMPARE(control(window.get(), 2)->geometry(), QRect(10, 10, 120, 20));
        QCOMPARE(control(window.get(), 3)->geometry(), QRect(10, 40, 100, 20));
        QCOMPARE(control(window.get(), 1)->geometry(), QRect(10, 80, 60, 24));
        auto *button = qobject_cast<QPushButton *>(control(window.get(), 1));
        QVERIFY(button && button->isDefault() && button->text() == u"OK"_qs);
        QCOMPARE(control(window.get(), 3)->layoutDirection(), Qt::RightToLeft); // "left": text before the box
        QCOMPARE(qobject_cast<DialogGroupFrame *>(control(window.get(), 5))->title(), u"Frame"_qs);
        // For looking only: no control takes the mouse or the keyboard.
        QVERIFY(control(window.get(), 2)->testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(control(window.get(), 2)->focusPolicy(), Qt::NoFocus);
        QCOMPARE(window->problemList()->count(), 0);
        QVERIFY(window->statusLabel()->text().contains(u"ошибок не найдено"_qs));
    }

    // The knowledge base's example dialogs, at the size and places mIRC's screenshots show them.
    void knowledgeBaseExamplesAreDrawnAsMircDrawsThem()
    {
        for (const KbDialogExamples::Example &example : KbDialogExamples::all()) {
            ScriptMemo memo;
            auto window = previewOf(memo, example.table.join(u'\n'), 2);
            QCOMPARE(window->dialogClient()->size(), example.client);
            for (const KbDialogExamples::Placed &placed : example.placed) {
                QWidget *drawn = control(window.get(), placed.id);
                QVERIFY2(drawn, qPrintable(example.name));
                QCOMPARE(drawn->geometry(), placed.pixels);
            }
            QCOMPARE(window->problemList()->count(), 0);
        }
    }

    void optionMapIsNotDbu()
    {
        ScriptMemo memo;
        auto window = previewOf(memo, u"dialog units {\nsize -1 -1 100 80\noption map\nbutton \"OK\", 1, 4 8 40 16\n}"_qs, 1);
        QCOMPARE(window->dialogClient()->size(), QSize(150, 130));
        QCOMPARE(control(window.get(), 1)->geometry(), QRect(6, 13, 60, 26));
    }

    void anEditOfTheSourceRedrawsIt()
    {
        ScriptMemo memo;
        auto window = previewOf(memo, kSmallTable, 5);
        QVERIFY(!control(window.get(), 4));
        memo.setSelStart(memo.lineStartOffset(8) + memo.line(8).size());
        QTest::keyClick(&memo, Qt::Key_Return);
        TestEnv::type(&memo, u"text \"Hi\", 4, 150 70 40 20"_qs);
        QVERIFY(!control(window.get(), 4)); // not before the short delay
        QTRY_VERIFY_WITH_TIMEOUT(control(window.get(), 4), 2000);
        QCOMPARE(control(window.get(), 4)->geometry(), QRect(150, 70, 40, 20));
        QCOMPARE(qobject_cast<QLabel *>(control(window.get(), 4))->text(), u"Hi"_qs);

        // A line mIRC misreads is listed, and a click on it puts the caret on that line.
        TestEnv::type(&memo, u", sort"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(window->problemList()->count(), 1, 2000);
        QListWidgetItem *item = window->problemList()->item(0);
        QCOMPARE(item->text(), u"Строка 10: text не принимает стиль «sort», mIRC его пропустит"_qs);
        QSignalSpy chosen(window.get(), &DialogPreviewWindow::problemLineChosen);
        memo.setSelStart(0);
        const QRect itemRect = window->problemList()->visualItemRect(item);
        QTest::mouseClick(window->problemList()->viewport(), Qt::LeftButton, {}, itemRect.center());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toInt(), 9);
        QCOMPARE(memo.CaretPos(), QPoint(0, 9));
    }

    // Errors and warnings are counted apart, and a click on a problem leaves the keyboard in the
    // text on that line.
    void problemsTellErrorsFromWarnings()
    {
        // The text in a window where another field had the keyboard last.
        QWidget host;
        auto *field = new QLineEdit(&host);
        ScriptMemo &memo = *new ScriptMemo(&host);
        memo.setGeometry(0, 30, 300, 200);
        host.show();
        field->setFocus();
        auto window = previewOf(memo,
                                u"dialog sev {\nsize -1 -1 200 100\n"
                                u"text \"a\", 1, 500 10 30 10\n"
                                u"edit \"b\", 1, 10 10 30 10, disabled\n"
                                u"button ,2,-50 -50 1 1,ok\n}"_qs,
                                1);
        QListWidget *list = window->problemList();
        QCOMPARE(list->count(), 3);
        const auto severityOf = [list](int row) { return Severity(list->item(row)->data(DialogPreviewWindow::kSeverityRole).toInt()); };
        QCOMPARE(severityOf(0), Severity::Warning); // line 3, off the dialog
        QCOMPARE(severityOf(1), Severity::Error);   // line 4, the id taken
        QCOMPARE(severityOf(2), Severity::Warning); // line 4, "disabled"
        QVERIFY(list->item(1)->text().startsWith(u"Строка 4: id 1 уже занят"_qs));
        QVERIFY(window->statusLabel()->text().endsWith(u"найдено ошибок: 1, предупреждений: 2"_qs));

        window->activateWindow();
        list->setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(list->hasFocus(), 2000); // the keyboard is in the preview
        memo.setSelStart(0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QCOMPARE(memo.CaretPos(), QPoint(0, 3));
        QTRY_VERIFY_WITH_TIMEOUT(memo.hasFocus(), 2000);
    }

    // A comma left out after a text: the control is drawn, a tab page keeps its controls.
    void aLineWithoutItsCommaIsDrawn()
    {
        ScriptMemo memo;
        auto window = previewOf(memo,
                                u"dialog comma {\nsize -1 -1 300 200\ntab \"Server\" 36, 2 0 266 180\ntab \"Nick\" 37\n"
                                u"text \"Введите время:\" 112, 14 30 120 16, tab 36\n"
                                u"button \"Go\" 5, 14 60 60 20, tab 37\n}"_qs,
                                2);
        auto *tabs = qobject_cast<QTabWidget *>(control(window.get(), 36));
        QVERIFY(tabs && tabs->count() == 2);
        auto *text = qobject_cast<QLabel *>(control(window.get(), 112));
        QVERIFY(text && text->text() == u"Введите время:"_qs);
        QCOMPARE(text->geometry(), QRect(14, 30, 120, 16));
        QVERIFY(text->isVisibleTo(window->dialogClient()));
        QVERIFY(!control(window.get(), 5)->isVisibleTo(window->dialogClient()));
        QCOMPARE(window->problemList()->count(), 4);
        QVERIFY(window->statusLabel()->text().endsWith(u"найдено ошибок: 0, предупреждений: 4"_qs));
    }

    // "check multi", box titles at a side, scroll bars at a side of their area, icon pictures placed
    // and sized by their words, one-line edit boxes with their text at the top.
    void documentedStylesAreDrawn()
    {
        QTemporaryDir dir;
        QVERIFY(savePicture(dir.filePath(u"pic.png"_qs)));
        ScriptMemo memo;
        auto window = previewOf(memo,
                                u"dialog looks {\nsize -1 -1 400 300\n"
                                u"check \"A long text that wraps over lines\", 1, 0 0 90 40, multi\n"
                                u"box \"Left\", 2, 100 0 90 60\nbox \"Mid\", 3, 200 0 90 60, center\n"
                                u"box \"Right\", 4, 300 0 90 60, right\n"
                                u"scroll \"\", 5, 0 100 90 60, right\nscroll \"\", 6, 100 100 90 60, horizontal bottom\n"
                                u"scroll \"\", 7, 200 100 90 60, top\nscroll \"\", 8, 300 100 90 60\n"
                                u"icon 9, 0 200 90 60, pic.png, top left large\nicon 10, 100 200 90 60, pic.png, bottom right small\n"
                                u"edit \"tall\", 11, 200 200 90 40\n}"_qs,
                                2);
        window->setPictureFolder(dir.path());

        auto *check = qobject_cast<QCheckBox *>(control(window.get(), 1));
        QVERIFY(check && check->text().isEmpty());
        auto *caption = check->findChild<QLabel *>(u"caption"_qs);
        QVERIFY(caption && caption->wordWrap() && caption->text() == u"A long text that wraps over lines"_qs);

        const auto titleOf = [&](int id) { return qobject_cast<DialogGroupFrame *>(control(window.get(), id))->titleRect(); };
        QCOMPARE(titleOf(2).left(), 7);
        QVERIFY(qAbs(titleOf(3).center().x() - 45) <= 1);
        QCOMPARE(titleOf(4).right(), 90 - 7 - 1);

        QCOMPARE(control(window.get(), 5)->geometry(), QRect(73, 100, 17, 60));
        QCOMPARE(control(window.get(), 6)->geometry(), QRect(100, 143, 90, 17));
        QCOMPARE(control(window.get(), 7)->geometry(), QRect(200, 100, 17, 60)); // top: the near side
        QCOMPARE(control(window.get(), 8)->geometry(), QRect(300, 100, 90, 60));

        auto *large = qobject_cast<QLabel *>(control(window.get(), 9));
        QCOMPARE(large->pixmap().size(), QSize(32, 32));
        QCOMPARE(large->alignment(), Qt::AlignTop | Qt::AlignLeft);
        auto *small = qobject_cast<QLabel *>(control(window.get(), 10));
        QCOMPARE(small->pixmap().size(), QSize(16, 16));
        QCOMPARE(small->alignment(), Qt::AlignBottom | Qt::AlignRight);

        auto *tall = qobject_cast<QLineEdit *>(control(window.get(), 11));
        QVERIFY(tall && tall->alignment().testFlag(Qt::AlignTop));
        QCOMPARE(window->problemList()->count(), 0);
    }

    // "size -1 -1 1 1": the script sizes the dialog when it opens; it is drawn around its controls.
    void aDialogSizedByItsScriptIsDrawnAroundItsControls()
    {
        ScriptMemo memo;
        auto window = previewOf(memo, u"dialog grow {\nsize -1 -1 1 1\nbutton \"OK\", 1, 10 10 200 100\n}"_qs, 1);
        QCOMPARE(window->dialogClient()->size(), QSize(220, 120));
        QCOMPARE(window->problemList()->count(), 1);
        QCOMPARE(window->problemList()->item(0)->data(DialogPreviewWindow::kSeverityRole).toInt(), int(Severity::Note));
        QVERIFY(window->statusLabel()->text().endsWith(u"ошибок не найдено"_qs));
    }

    // INI-format scripts: the caret in "n6=dialog skins {" shows that table.
    void aTableOfAnIniScriptIsShown()
    {
        ScriptMemo memo;
        auto window = previewOf(memo,
                                u"[script]\nn0=alias skins { dialog -m skins skins }\nn1=dialog skins {\n"
                                u"n2=  size -1 -1 200 100\nn3=  button \"OK\", 1, 10 10 60 20, ok\nn4=}\n"_qs,
                                2);
        QCOMPARE(window->followedName(), u"skins"_qs);
        QCOMPARE(control(window.get(), 1)->geometry(), QRect(10, 10, 60, 20));
        QCOMPARE(window->problemList()->count(), 0);
    }

    // The command again brings the open preview of that text to the front, on the table at the caret.
    void theCommandAgainRaisesTheOpenPreview()
    {
        QWidget owner;
        ScriptMemo memo(&owner);
        memo.loadText(kSmallTable + u"dialog other {\nsize -1 -1 50 50\ntext \"x\", 9, 0 0 10 10\n}\n"_qs);
        memo.setSelStart(memo.lineStartOffset(5));
        DialogPreviewWindow *first = showDialogPreview(&memo, &owner);
        memo.setSelStart(memo.lineStartOffset(12));
        DialogPreviewWindow *again = showDialogPreview(&memo, &owner);
        QCOMPARE(again, first);
        QCOMPARE(owner.findChildren<DialogPreviewWindow *>().size(), 1);
        QCOMPARE(again->followedName(), u"other"_qs);
        QVERIFY(again->isVisible());
        ScriptMemo otherText(&owner);
        QVERIFY(showDialogPreview(&otherText, &owner) != first);
    }

    void styleWordsChangeTheLook()
    {
        ScriptMemo memo;
        auto window = previewOf(memo,
                                u"dialog looks {\nsize -1 -1 300 200\noption notheme\n"
                                u"edit \"secret\", 1, 0 0 80 20, pass read\n"
                                u"edit \"\", 2, 0 30 80 60, multi vsbar\n"
                                u"combo 3, 100 0 80 100, drop edit\n"
                                u"list 4, 100 30 80 60, hsbar\n"
                                u"scroll \"\", 5, 0 100 120 12, horizontal range 0 50\n"
                                u"check \"Push\", 6, 200 0 60 20, push\n"
                                u"text \"Hidden\", 7, 200 30 60 20, hide\n"
                                u"button \"Off\", 8, 200 60 60 20, disable flat\n"
                                u"text \"&Name\", 9, 200 90 60 20, right nowrap\n}"_qs,
                                2);
        auto *secret = qobject_cast<QLineEdit *>(control(window.get(), 1));
        QVERIFY(secret && secret->echoMode() == QLineEdit::Password && secret->isReadOnly());
        QCOMPARE(secret->palette().color(QPalette::Base), secret->palette().color(QPalette::Window));
        auto *multi = qobject_cast<QPlainTextEdit *>(control(window.get(), 2));
        QVERIFY(multi && multi->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn);
        auto *combo = qobject_cast<QComboBox *>(control(window.get(), 3));
        QVERIFY(combo && combo->isEditable());
        QVERIFY(combo->height() < 100); // a drop-down shows one line; 100 is its opened list
        auto *list = qobject_cast<QListWidget *>(control(window.get(), 4));
        QVERIFY(list && list->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn);
        auto *bar = qobject_cast<QScrollBar *>(control(window.get(), 5));
        QVERIFY(bar && bar->orientation() == Qt::Horizontal && bar->maximum() == 50);
        auto *push = qobject_cast<QPushButton *>(control(window.get(), 6));
        QVERIFY(push && push->isCheckable());
        QVERIFY(!control(window.get(), 7)->isVisibleTo(window->dialogClient()));
        auto *off = qobject_cast<QPushButton *>(control(window.get(), 8));
        QVERIFY(off && !off->isEnabled() && off->isFlat());
        auto *name = qobject_cast<QLabel *>(control(window.get(), 9));
        QVERIFY(name && !name->wordWrap() && name->alignment().testFlag(Qt::AlignRight));
        QCOMPARE(name->text(), u"Name"_qs);
        QCOMPARE(name->style()->name(), u"windows"_qs); // "notheme": the classic look
    }

    void keepsItsTableWhileTheCaretIsElsewhere()
    {
        ScriptMemo memo;
        const QString text = kSmallTable + u"\ndialog other {\nsize -1 -1 50 50\ntext \"x\", 9, 0 0 10 10\n}"_qs;
        auto window = previewOf(memo, text, 3);
        // Typing in the other table leaves the preview on its own table.
        memo.setSelStart(memo.lineStartOffset(13) + memo.line(13).size());
        TestEnv::type(&memo, u" "_qs);
        // Lines added above move the table; it is found again by its name.
        memo.setSelStart(0);
        QTest::keyClick(&memo, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(window->model().span.headerLine, 2, 2000);
        QCOMPARE(window->followedName(), u"small"_qs);
        QVERIFY(control(window.get(), 1));
        QVERIFY(!control(window.get(), 9));
    }

    void tabsShowTheControlsOfTheirPage()
    {
        ScriptMemo memo;
        auto window = previewOf(memo,
                                u"dialog tabs {\nsize -1 -1 200 130\n"
                                u"tab \"One\", 1, 5 5 190 120\ntab \"Two\", 2\n"
                                u"button \"A\", 3, 20 40 50 20, tab 1\nbutton \"B\", 4, 20 40 50 20, tab 2\n"
                                u"text \"always\", 5, 20 100 50 10\n}"_qs,
                                2);
        auto *tabs = qobject_cast<QTabWidget *>(control(window.get(), 1));
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(1), u"Two"_qs);
        QWidget *client = window->dialogClient();
        QVERIFY(control(window.get(), 3)->isVisibleTo(client));
        QVERIFY(!control(window.get(), 4)->isVisibleTo(client));
        QVERIFY(control(window.get(), 5)->isVisibleTo(client));
        QTabBar *bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QVERIFY(!control(window.get(), 3)->isVisibleTo(client));
        QVERIFY(control(window.get(), 4)->isVisibleTo(client));
        // The page shown survives a redraw.
        window->refresh();
        QVERIFY(control(window.get(), 4)->isVisibleTo(window->dialogClient()));
    }

    void iconsShowThePictureOrAFramedPlaceholder()
    {
        QTemporaryDir dir;
        QVERIFY(savePicture(dir.filePath(u"pic.png"_qs)));
        ScriptMemo memo;
        auto window = previewOf(memo,
                                u"dialog pics {\nsize -1 -1 100 60\n"
                                u"icon 5, 10 10 32 32, pic.png\nicon 6, 50 10 32 32, \"missing.png\", 0\n}"_qs,
                                2);
        window->setPictureFolder(dir.path());
        auto *shown = qobject_cast<QLabel *>(control(window.get(), 5));
        QVERIFY(shown && !shown->pixmap().isNull());
        auto *missing = qobject_cast<QLabel *>(control(window.get(), 6));
        QVERIFY(missing && missing->pixmap().isNull());
        QCOMPARE(missing->frameShape(), QFrame::Box);
        QCOMPARE(missing->text(), u"нет файла\nmissing.png"_qs);
    }

    void anyTextGivesAWindow()
    {
        ScriptMemo memo;
        auto window = previewOf(memo, u"on *:text:*:#: { echo hi }\n"_qs, 0);
        QVERIFY(window->dialogClient());
        QCOMPARE(window->problemList()->count(), 0);
        QVERIFY(window->statusLabel()->text().startsWith(u"Курсор не стоит в таблице диалога"_qs));

        const QString broken = u"dialog {\n\"\"\"\ntab , , , ,\nicon ,\nmenu\nitem break\nbutton \"a\", 1, 1 1 1 1, tab\n"
                               u"combo %x, $y 1 2 3, drop\nsize 1 2 3 4 5 6\noption\nscroll \"\", 7, 0 0 -5 -5, range\n"_qs;
        memo.loadText(broken);
        memo.setSelStart(memo.lineStartOffset(3));
        window->refresh();
        QVERIFY(window->problemList()->count() > 5);
        QVERIFY(window->dialogClient()->size().isValid());
    }

    void aHugeTableIsDrawnInPart()
    {
        QString text = u"dialog huge {\nsize -1 -1 800 600\n"_qs;
        for (int id = 1; id <= DialogPreviewWindow::kMaxDrawnControls + 50; ++id)
            text += u"text \"t\", %1, %2 %3 20 10\n"_qs.arg(id).arg(id % 39 * 20).arg(id % 59 * 10);
        ScriptMemo memo;
        auto window = previewOf(memo, text + u"}"_qs, 5);
        QVERIFY(control(window.get(), DialogPreviewWindow::kMaxDrawnControls));
        QVERIFY(!control(window.get(), DialogPreviewWindow::kMaxDrawnControls + 1));
        QVERIFY(window->statusLabel()->text().endsWith(u"Нарисованы только первые 400 элементов"_qs));
    }

    void theClosedSourceLeavesTheWindowStanding()
    {
        auto memo = std::make_unique<ScriptMemo>();
        auto window = previewOf(*memo, kSmallTable, 5);
        memo.reset();
        window->refresh();
        QVERIFY(window->statusLabel()->text().startsWith(u"Текст закрыт"_qs));
        QCOMPARE(window->problemList()->count(), 0);
    }
};

QTEST_MAIN(DialogPreviewTest)
#include "test_dialog_preview.moc"
