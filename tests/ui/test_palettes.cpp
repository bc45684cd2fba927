// The five reference palettes: filling at start-up, missing data files, and inserting snippets
// into the current editor by mouse clicks and arrow keys.
#include "app/main_window.h"
#include "catalogue/catalogue_window.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "language/snippet_tables.h"
#include "support/program_test.h"
#include "support/test_env.h"

#include <QListWidget>
#include <QMdiArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QListWidget *paletteNamed(const QString &name)
{
    return Orl->findChild<QListWidget *>(name);
}

// Copies the shipped data files into dir/Dat, all but the one named.
void copyDataFilesExcept(const QString &dir, const QString &left)
{
    const QDir source(QStringLiteral(ORL_DATA_DIR));
    QVERIFY(QDir(dir).mkpath(QStringLiteral("Dat")));
    for (const QString &name : source.entryList({QStringLiteral("*.orl")}, QDir::Files)) {
        if (name != left)
            QVERIFY(QFile::copy(source.filePath(name), dir + QStringLiteral("/Dat/") + name));
    }
}

} // namespace

class PalettesTest : public ProgramTest {
    Q_OBJECT
public:
    PalettesTest() : ProgramTest(ErrorBoxes::Allowed, Start::ByTheTest) { }

private:

    // Brings a palette into view and clicks one of its rows, as the user would.
    void clickRow(QListWidget *palette, int row)
    {
        if (palette == Orl->OnPanel || palette == Orl->Indent)
            Orl->PageControl1->setCurrentWidget(palette);
        QListWidgetItem *item = palette->item(row);
        QVERIFY(item);
        palette->scrollToItem(item);
        QTest::mouseClick(palette->viewport(), Qt::LeftButton, {}, palette->visualItemRect(item).center());
        QApplication::processEvents();
    }

    QString editorText() const { return Form2->Memo1->wholeText(); }

private slots:


    void palettesAreFilledFromTheDataFiles()
    {
        TestEnv::startProgram();
        QVERIFY(dialogs->errors().isEmpty());
        QCOMPARE(Orl->Simbol->count(), 224);
        QCOMPARE(Orl->OnPanel->count(), 68);
        QCOMPARE(Orl->Indent->count(), 301);
        QCOMPARE(Orl->Comands->count(), 220);
        QCOMPARE(Orl->Dialog2->count(), 19);
        QCOMPARE(Orl->Simbol->item(0)->text(), u"!"_qs);
        QCOMPARE(Orl->Simbol->item(223)->text(), u"я"_qs);
        QCOMPARE(Orl->OnPanel->item(57)->text(), u"text"_qs);
        QCOMPARE(Orl->Comands->item(39)->text(), u"dcc send"_qs);
        for (const char *name : {"Simbol", "OnPanel", "Indent", "Comands", "Dialog2"})
            QCOMPARE(paletteNamed(QLatin1String(name))->currentRow(), -1);
    }

    void withoutDatFolderEveryPaletteStaysEmpty()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        TestEnv::startProgram();
        QCOMPARE(dialogs->errors(), QStringList{u"Cannot open file Dat/simbol.orl."_qs});
        for (const char *name : {"Simbol", "OnPanel", "Indent", "Comands", "Dialog2"})
            QCOMPARE(paletteNamed(QLatin1String(name))->count(), 0);
        // Start-up went on: the windows created after the main window exist.
        QVERIFY(Orl->isVisible());
        QVERIFY(TestEnv::newEditor());
    }

    void withoutCommandsFileTheLaterPalettesStayEmpty()
    {
        QTemporaryDir dir;
        copyDataFilesExcept(dir.path(), QStringLiteral("Comands.orl"));
        QVERIFY(QDir::setCurrent(dir.path()));
        TestEnv::startProgram();
        QCOMPARE(dialogs->errors(), QStringList{u"Cannot open file Dat/Comands.orl."_qs});
        QCOMPARE(Orl->Simbol->count(), 224);
        QCOMPARE(Orl->OnPanel->count(), 68);
        QCOMPARE(Orl->Indent->count(), 301);
        QCOMPARE(Orl->Comands->count(), 0);
        QCOMPARE(Orl->Dialog2->count(), 0);
    }

    void clickAppendsTheRowsSnippet_data()
    {
        QTest::addColumn<QString>("palette");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("snippet");
        QTest::newRow("first event") << u"OnPanel"_qs << 0 << u"on *:action:"_qs;
        QTest::newRow("text event") << u"OnPanel"_qs << 57 << u"on *:text:"_qs;
        QTest::newRow("last identifier") << u"Indent"_qs << 300 << u"$xor(A,B)"_qs;
        QTest::newRow("repeated identifier") << u"Indent"_qs << 100 << u"$filtered"_qs;
        QTest::newRow("second 4") << u"Simbol"_qs << 20 << u"4"_qs;
        QTest::newRow("empty symbol") << u"Simbol"_qs << 95 << QString();
        QTest::newRow("undefined code") << u"Simbol"_qs << 120 << QString(QChar(0x0098));
        QTest::newRow("last symbol") << u"Simbol"_qs << 223 << u"я"_qs;
        QTest::newRow("timer") << u"Comands"_qs << 195
                               << u"timer[Nname] [-ceomhipr] [time] <repetitions> <interval> <command>"_qs;
        QTest::newRow("dialog header keeps &") << u"Dialog2"_qs << 0
                                               << u"dialog <name> {&  title \"<|>[text]\"&  size -1 -1 x y&  option dbu|pixels&}&"_qs;
        QTest::newRow("dialog event") << u"Dialog2"_qs << 18 << u"on *:dialog:<|>dialog name:dialog event:id: { & &}"_qs;
    }

    void clickAppendsTheRowsSnippet()
    {
        QFETCH(QString, palette);
        QFETCH(int, row);
        QFETCH(QString, snippet);
        TestEnv::startProgram();
        TForm2 *editor = TestEnv::newEditor();
        clickRow(paletteNamed(palette), row);
        QCOMPARE(Form2.data(), editor);
        QCOMPARE(editorText(), snippet + kCrLf);
        QCOMPARE(editor->Memo1->lineCount(), 2);
        QCOMPARE(editor->Memo1->SelStart(), editor->Memo1->textLength());
        QVERIFY(dialogs->errors().isEmpty());
    }

    void clickAfterTextWithoutFinalBreak()
    {
        TestEnv::startProgram();
        TForm2 *editor = TestEnv::newEditor();
        QTest::keyClicks(editor->Memo1, u"abc"_qs);
        editor->Memo1->setSelStart(1);
        clickRow(Orl->Comands, 2);
        QCOMPARE(editorText(), u"abc\r\nalias [filename] <aliasname> <command>"_qs);
        QCOMPARE(editor->Memo1->SelStart(), editor->Memo1->textLength());
    }

    void everyClickAppendsOneSnippet()
    {
        TestEnv::startProgram();
        TestEnv::newEditor();
        clickRow(Orl->Simbol, 3);
        clickRow(Orl->Simbol, 3);
        clickRow(Orl->Dialog2, 17);
        QCOMPARE(editorText(), u"$\r\n$\r\nitem break, id, menuid\r\n"_qs);
        QCOMPARE(Orl->Simbol->currentRow(), 3);
    }

    void pressReleasedOnAnotherRowAppendsThatRowOnce()
    {
        TestEnv::startProgram();
        TestEnv::newEditor();
        QListWidget *palette = Orl->Simbol;
        QWidget *rows = palette->viewport();
        const auto centreOf = [palette](int row) { return palette->visualItemRect(palette->item(row)).center(); };
        palette->scrollToItem(palette->item(0));

        // Pressed on "$", dragged over "%" onto "&" and released there: "&" alone, once.
        QTest::mousePress(rows, Qt::LeftButton, {}, centreOf(3));
        QTest::mouseMove(rows, centreOf(4));
        QTest::mouseMove(rows, centreOf(5));
        QTest::mouseRelease(rows, Qt::LeftButton, {}, centreOf(5));
        QApplication::processEvents();
        QCOMPARE(palette->currentRow(), 5);
        QCOMPARE(editorText(), u"&\r\n"_qs);

        // Dragged away and back before the release: a click on the row pressed, once.
        QTest::mousePress(rows, Qt::LeftButton, {}, centreOf(3));
        QTest::mouseMove(rows, centreOf(4));
        QTest::mouseMove(rows, centreOf(3));
        QTest::mouseRelease(rows, Qt::LeftButton, {}, centreOf(3));
        QApplication::processEvents();
        QCOMPARE(editorText(), u"&\r\n$\r\n"_qs);

        // A plain click still appends once.
        clickRow(palette, 4);
        QCOMPARE(editorText(), u"&\r\n$\r\n%\r\n"_qs);
    }

    void arrowKeysAppendOneSnippetPerMove()
    {
        TestEnv::startProgram();
        TestEnv::newEditor();
        clickRow(Orl->Simbol, 3);
        QTest::keyClick(Orl->Simbol, Qt::Key_Down);
        QTest::keyClick(Orl->Simbol, Qt::Key_Down);
        QTest::keyClick(Orl->Simbol, Qt::Key_Up);
        QCOMPARE(editorText(), u"$\r\n%\r\n&\r\n%\r\n"_qs);
        QCOMPARE(Orl->Simbol->currentRow(), 4);
    }

    void focusingAPaletteInsertsNothing()
    {
        TestEnv::startProgram();
        TestEnv::newEditor();
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(Orl->Comands, &focusIn);
        QCOMPARE(editorText(), QString());
        QCOMPARE(Orl->Comands->currentRow(), -1);
        // The first move from no selection selects and inserts the first row.
        QTest::keyClick(Orl->Comands, Qt::Key_Down);
        QCOMPARE(editorText(), u"abook [nickname]\r\n"_qs);
    }

    void enterAndSpaceAppendTheCurrentRowAgain()
    {
        TestEnv::startProgram();
        TestEnv::newEditor();
        // With no current row they append nothing.
        QTest::keyClick(Orl->Simbol, Qt::Key_Return);
        QCOMPARE(editorText(), QString());
        QTest::keyClick(Orl->Simbol, Qt::Key_Down);
        QTest::keyClick(Orl->Simbol, Qt::Key_Return);
        QTest::keyClick(Orl->Simbol, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(Orl->Simbol, Qt::Key_Space);
        QCOMPARE(editorText(), u"!\r\n!\r\n!\r\n!\r\n"_qs);
        // A current row that is not selected is selected first.
        QTest::keyClick(Orl->Simbol, Qt::Key_Down);
        Orl->Simbol->clearSelection();
        QTest::keyClick(Orl->Simbol, Qt::Key_Space);
        QVERIFY(Orl->Simbol->item(1)->isSelected());
        QCOMPARE(editorText(), u"!\r\n!\r\n!\r\n!\r\n\"\r\n\"\r\n"_qs);
        // Ctrl+Enter is no choice.
        const QString before = editorText();
        QTest::keyClick(Orl->Simbol, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(editorText(), before);
    }

    void aPaletteWithTheKeyboardShowsIt()
    {
        TestEnv::startProgram();
        Orl->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Orl));
        TestEnv::newEditor();
        Form2->Memo1->setFocus();
        const QImage without = Orl->Comands->grab().toImage();
        Orl->Comands->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QVERIFY(Orl->Comands->hasFocus());
        QCOMPARE(Orl->Comands->currentRow(), -1);
        QVERIFY(Orl->Comands->grab().toImage() != without);
        Form2->Memo1->setFocus();
        QApplication::processEvents();
        QCOMPARE(Orl->Comands->grab().toImage(), without);
    }

    void rowsAreAsHighAsTheirFontNeeds()
    {
        TestEnv::startProgram();
        QListWidget *palette = Orl->OnPanel;
        QCOMPARE(palette->visualItemRect(palette->item(0)).height(), 14);
        // An 11-point desktop face at 96 dots per inch is about 15 pixels high.
        QFont large = palette->font();
        large.setPixelSize(15);
        palette->setFont(large);
        QApplication::processEvents();
        const int row = palette->visualItemRect(palette->item(0)).height();
        QVERIFY2(row >= QFontMetrics(large).height(), qPrintable(QString::number(row)));
        QCOMPARE(palette->visualItemRect(palette->item(1)).top(), row);
    }

    void snippetGoesToTheActiveEditor()
    {
        TestEnv::startProgram();
        TForm2 *first = TestEnv::newEditor();
        TForm2 *second = TestEnv::newEditor();
        Orl->clientArea()->setActiveSubWindow(first);
        clickRow(Orl->OnPanel, 1);
        QCOMPARE(first->Memo1->wholeText(), u"on *:active:\r\n"_qs);
        QCOMPARE(second->Memo1->wholeText(), QString());
        QCOMPARE(Form2.data(), first);
    }

    void withoutEditorOnlyTheHighlightMoves()
    {
        TestEnv::startProgram();
        clickRow(Orl->Comands, 4);
        QTest::keyClick(Orl->Comands, Qt::Key_Down);
        QCOMPARE(Orl->Comands->currentRow(), 5);
        QVERIFY(Orl->Comands->item(5)->isSelected());
        QCOMPARE(Orl->MDIChildCount(), 0);
        QVERIFY(dialogs->errors().isEmpty());
    }

    void rowBeyondItsTableReportsTheIndex()
    {
        TestEnv::startProgram();
        TForm2 *editor = TestEnv::newEditor();
        QTest::keyClicks(editor->Memo1, u"abc"_qs);
        Orl->Dialog2->addItem(u"extra"_qs);
        clickRow(Orl->Dialog2, 19);
        QCOMPARE(dialogs->errors(), QStringList{u"List index out of bounds (19)."_qs});
        QCOMPARE(editorText(), u"abc"_qs);
        // The palette still works for the rows its table has.
        clickRow(Orl->Dialog2, 17);
        QCOMPARE(editorText(), u"abc\r\nitem break, id, menuid"_qs);
    }

    void catalogueWindowHoldsTheTables()
    {
        TestEnv::startProgram();
        QVERIFY(Form6);
        QCOMPARE(Form6->ListBox1, snippetTable(SnippetTable::DialogTemplates));
        QCOMPARE(Form6->ListBox2.size(), 224);
        QCOMPARE(Form6->ListBox3.at(16), u"break"_qs);
        QCOMPARE(Form6->ListBox4.at(67), u"on *:waveend:"_qs);
        QCOMPARE(Form6->ListBox5.at(0), u"$(...)"_qs);
    }
};

QTEST_MAIN(PalettesTest)
#include "test_palettes.moc"
