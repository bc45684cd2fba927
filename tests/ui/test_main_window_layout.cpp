// The main window's size on common screens, the editors' status bars and the cascade arrangement.
#include "app/main_window.h"
#include "common/fixed_layout.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"
#include "support/test_env.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QtTest>

#include <algorithm>

namespace {

// An editor's three status panels, left to right.
QList<QLabel *> panelsOf(const TForm2 *editor)
{
    // The three panels, and the note of a text shown without colours where it shows.
    QList<QLabel *> panels;
    for (QLabel *label : editor->StatusBar1->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (!label->isHidden())
            panels.append(label);
    }
    std::sort(panels.begin(), panels.end(), [](QLabel *a, QLabel *b) { return a->x() < b->x(); });
    return panels;
}

QRect inMainWindow(const QWidget *widget)
{
    return QRect(widget->mapTo(Orl, QPoint(0, 0)), widget->size());
}

} // namespace

class MainWindowLayoutTest : public ProgramTest {
    Q_OBJECT
public:
    MainWindowLayoutTest() : ProgramTest(ErrorBoxes::Forbidden) { }

private:
    // Every editor, maximized in the document area as it opens, shows its whole status bar within
    // the main window.
    void everyStatusBarIsFullyVisible()
    {
        for (TForm2 *editor : Orl->editorWindows()) {
            Orl->clientArea()->setActiveSubWindow(editor);
            QApplication::processEvents();
            QVERIFY(editor->isMaximized());
            const QRect area = inMainWindow(Orl->clientArea()->viewport());
            const QRect bar = inMainWindow(editor->StatusBar1);
            QVERIFY2(editor->StatusBar1->isVisible(), qPrintable(editor->windowTitle()));
            QVERIFY2(Orl->rect().contains(bar), qPrintable(editor->windowTitle()));
            QVERIFY2(area.contains(bar), qPrintable(editor->windowTitle()));
        }
    }

    // Every palette of the right panel shows at least a few rows within the panel.
    void everyPaletteShowsRows()
    {
        for (QGroupBox *group : {Orl->GroupBox1, Orl->GroupBox2, Orl->GroupBox3}) {
            QVERIFY2(Orl->Panel1->rect().contains(group->geometry()), qPrintable(group->title()));
            const auto *list = group->findChild<QListWidget *>();
            QVERIFY2(list->viewport()->height() >= 3 * 14, qPrintable(group->title()));
        }
    }

private slots:

    void restoredWindowOpensAtItsSizeAndShrinksWellBelowIt()
    {
        Orl->showNormal();
        QApplication::processEvents();
        QCOMPARE(Orl->size(), QSize(870, 706));
        QVERIFY2(Orl->minimumSizeHint().height() <= 450, qPrintable(QString::number(Orl->minimumSizeHint().height())));
        QVERIFY2(Orl->minimumSize().height() <= 450, qPrintable(QString::number(Orl->minimumSize().height())));

        TestEnv::newEditor();
        Orl->resize(870, 450);
        QApplication::processEvents();
        QCOMPARE(Orl->height(), 450);
        everyPaletteShowsRows();
        everyStatusBarIsFullyVisible();
    }

    void maximizedOnA1024By768ScreenEveryStatusBarShows()
    {
        TestEnv::newEditor();
        TestEnv::newEditor();
        // 768 less the title bar of a maximized window.
        Orl->showNormal();
        Orl->setGeometry(QRect(0, 23, 1024, 768 - 23));
        QApplication::processEvents();
        QCOMPARE(Orl->height(), 768 - 23);
        everyStatusBarIsFullyVisible();
        everyPaletteShowsRows();

        // Maximized on the (smaller) screen the tests run on.
        Orl->showMaximized();
        QApplication::processEvents();
        QVERIFY(Orl->screen()->availableGeometry().contains(Orl->geometry()));
        everyStatusBarIsFullyVisible();
    }

    void lastStatusPanelRunsToTheRightEdge()
    {
        TForm2 *editor = TestEnv::newEditor();
        TestEnv::type(editor->Memo1, u"a"_qs);
        const QList<QLabel *> panels = panelsOf(editor);
        QCOMPARE(panels.size(), 3);
        QCOMPARE(panels[0]->width(), 50);
        QCOMPARE(panels[1]->width(), 100);
        QCOMPARE(panels[2]->text(), u"script1.mrc"_qs);
        QVERIFY(panels[2]->width() > 50);
        QVERIFY2(editor->StatusBar1->width() - panels[2]->geometry().right() <= 8,
                 qPrintable(QStringLiteral("%1 of %2").arg(panels[2]->geometry().right()).arg(editor->StatusBar1->width())));
        // The whole caption shows.
        QVERIFY(panels[2]->contentsRect().width() >= panels[2]->fontMetrics().horizontalAdvance(panels[2]->text()));
    }

    void theScriptIsShownInAFixedWidthFaceAndTheFormsInTheirSansFace()
    {
        TForm2 *editor = TestEnv::newEditor();
        const QFontInfo script(editor->Memo1->font());
        QVERIFY2(script.fixedPitch(), qPrintable(script.family()));
        // Cyrillic letters come from the same face, as wide as the Latin ones.
        const QFontMetrics metrics(editor->Memo1->font());
        QCOMPARE(metrics.horizontalAdvance(u'Ж'), metrics.horizontalAdvance(u'i'));
        QCOMPARE(metrics.horizontalAdvance(u'W'), metrics.horizontalAdvance(u'i'));
        // The forms' bitmap face is drawn by a sans face of its widths, never by a stray fallback.
        const QFont form = FixedLayout::pixelFont(u"MS Sans Serif"_qs, 11);
        QVERIFY2(form.families().contains(QFontInfo(form).family()), qPrintable(QFontInfo(form).family()));
        QCOMPARE(QFontInfo(form).pixelSize(), 11);
        const QFont frame = Orl->font();
        QVERIFY2(frame.families().contains(QFontInfo(frame).family()), qPrintable(QFontInfo(frame).family()));
    }

    void cascadeKeepsWindowsAtAUsefulSize()
    {
        Orl->showNormal();
        QApplication::processEvents();
        const QList<TForm2 *> editors{TestEnv::newEditor(), TestEnv::newEditor(), TestEnv::newEditor()};
        TForm2 *front = editors[1];
        Orl->clientArea()->setActiveSubWindow(front);
        Orl->N25Click();
        QApplication::processEvents();

        const QSize area = Orl->clientArea()->viewport()->size();
        const QSize expected(area.width() * 2 / 3, area.height() * 2 / 3);
        const QList<QMdiSubWindow *> stack = Orl->clientArea()->subWindowList(QMdiArea::StackingOrder);
        QCOMPARE(stack.size(), 3);

        const int step = front->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, front);
        QVERIFY(step > 0);
        for (int i = 0; i < stack.size(); ++i) {
            QVERIFY(!stack[i]->isMaximized());
            // Two thirds of the area, give or take the pixel the menu bar's window buttons take.
            QVERIFY2(qAbs(stack[i]->width() - expected.width()) <= 2 && qAbs(stack[i]->height() - expected.height()) <= 2,
                     qPrintable(QStringLiteral("%1 x %2").arg(stack[i]->width()).arg(stack[i]->height())));
            QCOMPARE(stack[i]->pos(), QPoint(i * step, i * step));
        }
        // The active window stays in front and active.
        QCOMPARE(stack.last(), front);
        QCOMPARE(Orl->ActiveMDIChild(), front);
        const QRect space = Orl->clientArea()->viewport()->rect();
        for (QMdiSubWindow *window : stack)
            QVERIFY(space.contains(window->geometry()));
    }
};

QTEST_MAIN(MainWindowLayoutTest)
#include "test_main_window_layout.moc"
