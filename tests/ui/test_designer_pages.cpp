// The designer's control pages: the slot wiring of every style box, the limit and picture switches,
// the inert box, and a whole dialog carried from the pages into a script editor.
#include "app/main_window.h"
#include "catalogue/catalogue_window.h"
#include "designer/dialog_designer_window.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/designer_helpers.h"
#include "support/program_test.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>


namespace {

using DesignerHelpers::allSlots;
using DesignerHelpers::openDesigner;

QString spaces(int count)
{
    return QString(count, QLatin1Char(' '));
}

void setGeometry(std::initializer_list<QLineEdit *> fields, std::initializer_list<const char *> values)
{
    auto value = values.begin();
    for (QLineEdit *field : fields)
        field->setText(QString::fromLatin1(*value++));
}

} // namespace

class DesignerPagesTest : public ProgramTest {
    Q_OBJECT
public:
    DesignerPagesTest() : ProgramTest(ErrorBoxes::Forbidden) { }

private slots:

    void everyStyleBoxWritesItsOwnSlot_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("word");
        struct Row {
            int page;
            int firstBox;
            int step;
            QStringList words; // slots 1, 2, ... in order
        };
        const QStringList common{u"disable"_qs, u"result"_qs, u"group"_qs, u"hide"_qs};
        const QList<Row> rows{
            {1, 1, 1, common + QStringList{u"default"_qs, u"flat"_qs}},
            {2, 7, 1, common + QStringList{u"flat"_qs}},
            {3, 12, 1, common + QStringList{u"hsbar"_qs, u"vsbar"_qs}},
            {4, 21, -1, common},
            {4, 22, 1, {{}, {}, {}, {}, u"sort"_qs, u"vsbar"_qs, u"hsbar"_qs}},
            {5, 28, -1, common},
            {5, 29, 1,
             {{}, {}, {}, {}, u"read"_qs, u"pass"_qs, u"multi"_qs, u"autohs"_qs, u"autovs"_qs, u"vsbar"_qs,
              u"hsbar"_qs}},
            {6, 39, -1, common},
            {7, 44, -1, common},
            {9, 49, -1, common},
            {9, 50, 1, {{}, {}, {}, {}, u"flat"_qs}},
            {10, 54, -1, common},
            {11, 58, -1, common},
            {12, 59, 1, common},
        };
        for (const Row &row : rows) {
            int box = row.firstBox;
            for (int slot = 1; slot <= row.words.size(); ++slot) {
                if (row.words[slot - 1].isEmpty())
                    continue;
                QTest::addRow("CheckBox%d", box) << box << row.page << slot << row.words[slot - 1];
                box += row.step;
            }
        }
    }
    void everyStyleBoxWritesItsOwnSlot()
    {
        QFETCH(int, box);
        QFETCH(int, page);
        QFETCH(int, slot);
        QFETCH(QString, word);
        TForm5 *designer = openDesigner();
        QCheckBox *styleBox = designer->styleBox(box);
        QVERIFY(styleBox);
        QCOMPARE(styleBox->objectName(), QStringLiteral("CheckBox%1").arg(box));
        QVERIFY(designer->Solo->widget(page)->isAncestorOf(styleBox));

        QStringList expected(12, QString());
        expected[slot - 1] = word;
        styleBox->click();
        QCOMPARE(allSlots(), expected);
        styleBox->click();
        QCOMPARE(allSlots(), QStringList(12, QString()));
    }

    void slotBoxesAndGeometryFieldsOfEveryPage()
    {
        TForm5 *designer = openDesigner();
        int boxes = 0;
        for (int n = 0; n <= 64; ++n)
            boxes += designer->styleBox(n) ? 1 : 0;
        QCOMPARE(boxes, 60); // CheckBox1 to CheckBox62 but the inert CheckBox40 and the switch CheckBox45
        for (int n : {40, 45, 63, 64})
            QVERIFY(!designer->styleBox(n));
        QStringList geometryFields{u"E2"_qs, u"E3"_qs, u"E4"_qs, u"Edit5"_qs};
        for (int n = 9; n <= 58; ++n) {
            if (n != 21 && n != 38) // the combo page's name field and the icon page's file name
                geometryFields.append(QStringLiteral("Edit%1").arg(n));
        }
        for (const QString &name : geometryFields) {
            auto *field = designer->findChild<QLineEdit *>(name);
            QVERIFY2(field, qPrintable(name));
            QCOMPARE(field->maxLength(), 3);
        }
        QCOMPARE(designer->Edit9->text() + designer->Edit12->text(), u"2512"_qs);
        QCOMPARE(designer->Edit21->maxLength(), 32767);
        QCOMPARE(designer->Edit38->maxLength(), 32767);
        const QList<QComboBox *> lists = designer->findChildren<QComboBox *>();
        QCOMPARE(lists.size(), 10);
        for (QComboBox *list : lists) {
            QCOMPARE(list->currentIndex(), -1);
            QVERIFY(!list->isEditable());
        }
    }

    void limitSwitchKeepsItsText()
    {
        TForm5 *designer = openDesigner();
        designer->Button5->click();
        QVERIFY(designer->CheckBox64->isChecked());
        QVERIFY(designer->LimEdit->isEnabled());
        designer->Button17->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"edit , , -1 -1 0 0 ,limit "_qs + spaces(11));

        designer->EdEdit->setText(u"Name"_qs);
        designer->LabeledEdit2->setText(u"never read"_qs);
        designer->LabeledEdit7->setText(u"5"_qs);
        setGeometry({designer->Edit26, designer->Edit27, designer->Edit28, designer->Edit29},
                    {"10", "20", "100", "12"});
        designer->LimEdit->setText(u"10"_qs);
        designer->styleBox(29)->click();
        designer->styleBox(34)->click();
        designer->Button17->click();
        designer->Button17->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"edit Name, 5, 10 20 100 12 ,limit 10     read     vsbar "_qs);

        designer->CheckBox64->click();
        QVERIFY(!designer->LimEdit->isEnabled());
        QCOMPARE(designer->LimEdit->text(), u"10"_qs);
        designer->Button17->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"edit Name, 5, 10 20 100 12 ,    read     vsbar "_qs);

        designer->CheckBox64->click();
        QVERIFY(designer->LimEdit->isEnabled());
        designer->Button17->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"edit Name, 5, 10 20 100 12 ,limit 10     read     vsbar "_qs);
        QCOMPARE(Form6->slot(5), u"read"_qs); // the switch is no style box
    }

    void pictureDialogOfTheIconPage()
    {
        TForm5 *designer = openDesigner();
        designer->Button10->click();
        QCOMPARE(designer->Solo->currentIndex(), 8);
        QVERIFY(!designer->SpeedButton1->isEnabled());
        QVERIFY(designer->Edit38->isReadOnly());
        designer->Button23->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"icon , -1 -1 0 0 ,"_qs);

        designer->CheckBox45->click();
        QVERIFY(designer->SpeedButton1->isEnabled());
        const QString path = QDir::toNativeSeparators(u"/pics/logo.bmp"_qs);
        dialogs->chooseFile(u"/pics/logo.bmp"_qs);
        designer->SpeedButton1->click();
        QCOMPARE(dialogs->fileRequests.size(), 1);
        QCOMPARE(dialogs->fileRequests[0].kind, Dialogs::FileRequest::Kind::OpenPicture);
        QCOMPARE(designer->Edit38->text(), path);

        dialogs->cancelFile();
        designer->SpeedButton1->click();
        QCOMPARE(dialogs->fileRequests.size(), 2);
        QCOMPARE(designer->Edit38->text(), path);

        designer->LabeledEdit13->setText(u"7"_qs);
        setGeometry({designer->Edit43, designer->Edit44, designer->Edit45, designer->Edit46}, {"10", "10", "32", "32"});
        designer->ComboBox5->setCurrentText(u"center"_qs); // read by nothing
        designer->Button23->click();
        const QString line = u"icon 7, 10 10 32 32 ,"_qs + path;
        QCOMPARE(designer->Memo2->toPlainText(), line);

        // Unticking disables the button; the chosen file stays in the line.
        designer->CheckBox45->click();
        QVERIFY(!designer->SpeedButton1->isEnabled());
        designer->Button23->click();
        QCOMPARE(designer->Memo2->toPlainText(), line);
    }

    void autoWidthBoxIsInert()
    {
        TForm5 *designer = openDesigner();
        designer->Button6->click();
        designer->LinkEdit->setText(u"Home"_qs);
        designer->Button19->click();
        const QString line = designer->Memo2->toPlainText();
        QCOMPARE(line, u"link Home, , -1 -1 0 0 ,"_qs + spaces(4));

        designer->CheckBox40->click();
        QVERIFY(designer->CheckBox40->isChecked());
        QCOMPARE(allSlots(), QStringList(12, QString()));
        designer->Button19->click();
        QCOMPARE(designer->Memo2->toPlainText(), line);
    }

    void tickedBoxKeepsItsTickWhileItsWordIsGone()
    {
        TForm5 *designer = openDesigner();
        designer->Button21->click();
        designer->LabeledEdit4->setText(u"Options"_qs);
        designer->LabeledEdit15->setText(u"12"_qs);
        setGeometry({designer->Edit55, designer->Edit56, designer->Edit57, designer->Edit58}, {"5", "5", "190", "90"});
        designer->styleBox(61)->click();
        designer->Button27->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"box Options, 12, 5 5 190 90 ,  group "_qs);

        designer->Button9->click();
        designer->Button21->click();
        QVERIFY(designer->styleBox(61)->isChecked());
        designer->Button27->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"box Options, 12, 5 5 190 90 ,   "_qs);

        designer->styleBox(61)->click();
        designer->styleBox(61)->click();
        designer->Button27->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"box Options, 12, 5 5 190 90 ,  group "_qs);
    }

    void linkLineReadsASlotFilledInAnotherWindow()
    {
        TForm5 *a = openDesigner();
        TForm5 *b = openDesigner();
        a->Button6->click();
        b->Button20->click();
        b->styleBox(50)->click(); // "Мод: Flat" writes slot 5, which the link line reads
        a->LabeledEdit12->setText(u"3"_qs);
        a->Button19->click();
        QCOMPARE(a->Memo2->toPlainText(), u"link , 3, -1 -1 0 0 ,    flat"_qs);
    }

    void aWholeDialogReachesTheEditor()
    {
        TForm2 *editor = TestEnv::newEditor();
        TForm5 *designer = openDesigner();
        const auto transfer = [designer](QPushButton *generate) {
            generate->click();
            designer->Button28->click();
        };

        designer->Edit1->setText(u"\"Settings\""_qs);
        setGeometry({designer->E2, designer->E3, designer->E4, designer->Edit5}, {"-1", "-1", "200", "160"});
        transfer(designer->Button11);

        designer->Button1->click();
        designer->Edit7->setText(u"\"OK\""_qs);
        designer->Id1->setText(u"1"_qs);
        designer->ComboBox2->setCurrentText(u"ok"_qs);
        designer->styleBox(5)->click();
        transfer(designer->Button13);

        designer->Button2->click();
        designer->RadioEdit->setText(u"\"Fast\""_qs);
        designer->LabeledEdit16->setText(u"2"_qs);
        designer->styleBox(9)->click();
        transfer(designer->Button14);

        designer->Button3->click();
        designer->LabeledEdit11->setText(u"3"_qs);
        designer->ComboBox4->setCurrentText(u"size drop"_qs);
        transfer(designer->Button15);

        designer->Button4->click();
        designer->LabeledEdit6->setText(u"4"_qs);
        designer->styleBox(22)->click();
        transfer(designer->Button16);

        designer->Button5->click();
        designer->EdEdit->setText(u"\"\""_qs);
        designer->LabeledEdit7->setText(u"5"_qs);
        designer->LimEdit->setText(u"20"_qs);
        transfer(designer->Button17);

        designer->Button6->click();
        designer->LinkEdit->setText(u"\"Home page\""_qs);
        designer->LabeledEdit12->setText(u"6"_qs);
        transfer(designer->Button19);

        designer->Button7->click();
        designer->Edit2->setText(u"\"General\""_qs);
        designer->LabeledEdit8->setText(u"7"_qs);
        transfer(designer->Button22);

        designer->Button10->click();
        designer->LabeledEdit13->setText(u"8"_qs);
        transfer(designer->Button23);

        designer->Button20->click();
        designer->CheckEdit->setText(u"\"Remember\""_qs);
        designer->LabeledEdit9->setText(u"9"_qs);
        designer->ComboBox6->setCurrentText(u"push"_qs);
        transfer(designer->Button24);

        designer->Button8->click();
        designer->ScrollEdit->setText(u"\"\""_qs);
        designer->LabeledEdit14->setText(u"10"_qs);
        designer->ComboBox9->setCurrentText(u"horizontal"_qs);
        transfer(designer->Button25);

        designer->Button9->click();
        designer->LabelEdit->setText(u"\"Nick:\""_qs);
        designer->LabeledEdit10->setText(u"11"_qs);
        designer->ComboBox10->setCurrentText(u"Right"_qs);
        transfer(designer->Button26);

        designer->Button21->click();
        designer->LabeledEdit4->setText(u"\"Options\""_qs);
        designer->LabeledEdit15->setText(u"12"_qs);
        transfer(designer->Button27);

        designer->Memo1->appendAsLine(u"}"_qs);
        designer->Button29->click();

        const QStringList expected{
            u"dialog new_table {"_qs,
            u"title \"Settings\""_qs,
            u"size -1 -1 200 160"_qs,
            u"option pixels"_qs,
            u"button \"OK\", 1, 25 25 37 12 ,    default  ok"_qs,
            u"radio \"Fast\", 2, -1 -1 0 0 ,  group    "_qs,
            u"combo 3, -1 -1 0 0 ,      size drop"_qs,
            u"list 4, -1 -1 0 0 ,    sort  "_qs,
            u"edit \"\", 5, -1 -1 0 0 ,limit 20"_qs + spaces(11),
            u"link \"Home page\", 6, -1 -1 0 0 ,    "_qs,
            u"tab \"General\", 7, -1 -1 0 0 ,   "_qs,
            u"icon 8, -1 -1 0 0 ,"_qs,
            u"check \"Remember\", 9, -1 -1 0 0 ,push      "_qs,
            u"scroll \"\", 10, -1 -1 0 0 ,horizontal     "_qs,
            u"text \"Nick:\", 11, -1 -1 0 0 ,Right    "_qs,
            u"box \"Options\", 12, -1 -1 0 0 ,   "_qs,
            u"}"_qs,
            QString(),
            QString(),
        };
        QCOMPARE(editor->Memo1->toPlainText().split(u'\n'), expected);

        // Every control line has the table's shape: keyword, optional text, id, "x y w h", styles.
        static const QRegularExpression shape(QStringLiteral(
            "^(button|radio|combo|list|edit|link|tab|icon|check|scroll|text|box) (\"[^\"]*\", )?"
            "\\d+, -?\\d+ -?\\d+ \\d+ \\d+ ,.*$"));
        for (int i = 4; i < 16; ++i)
            QVERIFY2(shape.match(expected[i]).hasMatch(), qPrintable(expected[i]));
    }
};

QTEST_MAIN(DesignerPagesTest)
#include "test_designer_pages.moc"
