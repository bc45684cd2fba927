// The lines of the alias creator, the variable creator and the colour code picker, down to the bytes saved.
#include "common/win1251_codec.h"
#include "editor/script_text.h"
#include "wizards/wizard_lines.h"

#include <QtTest>

using namespace WizardLines;

class WizardLinesTest : public QObject {
    Q_OBJECT
private slots:
    void aliasCommandListHoldsEveryRowInOrder()
    {
        const QStringList &rows = aliasCommands();
        QCOMPARE(rows.size(), 221);
        QCOMPARE(rows.first(), u"abook"_qs);
        QCOMPARE(rows.at(9), u"avoiceork]"_qs);
        QCOMPARE(rows.at(38), u"dcc chat"_qs);
        QCOMPARE(rows.at(42), u"dcc get"_qs);
        QCOMPARE(rows.at(118), u"if condition"_qs);
        QCOMPARE(rows.at(153), u"raw(Send)"_qs);
        QCOMPARE(rows.at(154), u"raw"_qs);
        QCOMPARE(rows.at(173), u"scon="_qs);
        QCOMPARE(rows.at(179), u"sline(Custom window)"_qs);
        QCOMPARE(rows.at(195), u"timer[Nname]"_qs);
        QCOMPARE(rows.at(219), u"writeini"_qs);
        QCOMPARE(rows.last(), QString());
        // Every row but the last holds a command, and no command is listed twice.
        QCOMPARE(QSet<QString>(rows.begin(), rows.end()).size(), 221);
        for (int i = 0; i < 220; ++i)
            QVERIFY2(!rows.at(i).isEmpty() && rows.at(i) == rows.at(i).trimmed(), qPrintable(rows.at(i)));
    }

    void aliasLineJoinsNameAndCommandWithSpaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("line");
        QTest::newRow("join") << u"myjoin"_qs << u"join"_qs << u"alias myjoin join"_qs;
        QTest::newRow("two-word command") << u"x"_qs << u"dcc chat"_qs << u"alias x dcc chat"_qs;
        QTest::newRow("brackets kept") << u"x"_qs << u"timer[Nname]"_qs << u"alias x timer[Nname]"_qs;
        QTest::newRow("empty name") << QString() << u"join"_qs << u"alias  join"_qs;
        QTest::newRow("empty last row") << u"x"_qs << QString() << u"alias x "_qs;
        QTest::newRow("name as typed") << u" my {alias} "_qs << u"join"_qs << u"alias  my {alias}  join"_qs;
    }
    void aliasLineJoinsNameAndCommandWithSpaces()
    {
        QFETCH(QString, name);
        QFETCH(QString, command);
        QFETCH(QString, line);
        QCOMPARE(aliasLine(name, command), line);
    }

    void variableLineIsPrefixAndName_data()
    {
        QTest::addColumn<VariableKind>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("line");
        QTest::newRow("set") << VariableKind::Permanent << u"count"_qs << u"set %count"_qs;
        QTest::newRow("var") << VariableKind::Temporary << u"count"_qs << u"var %count"_qs;
        QTest::newRow("own percent sign") << VariableKind::Permanent << u"%count"_qs << u"set %%count"_qs;
        QTest::newRow("empty name") << VariableKind::Permanent << QString() << u"set %"_qs;
        QTest::newRow("not trimmed") << VariableKind::Temporary << u" a b "_qs << u"var % a b "_qs;
    }
    void variableLineIsPrefixAndName()
    {
        QFETCH(VariableKind, kind);
        QFETCH(QString, name);
        QFETCH(QString, line);
        QCOMPARE(variableLine(kind, name), line);
    }

    void variableRowsAreSetThenVar()
    {
        QCOMPARE(variableRows(), QStringList({u"set - Постоянная"_qs, u"var - Временная"_qs}));
    }

    void colourCodeSavesAsControlByteAndDigits_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("0") << u"0"_qs << QByteArray("\x03" "0");
        QTest::newRow("4") << u"4"_qs << QByteArray("\x03" "4");
        QTest::newRow("12") << u"12"_qs << QByteArray("\x03" "12");
        QTest::newRow("15") << u"15"_qs << QByteArray("\x03" "15");
    }
    void colourCodeSavesAsControlByteAndDigits()
    {
        QFETCH(QString, number);
        QFETCH(QByteArray, bytes);
        const QString code = colourCode(number);
        QCOMPARE(Win1251::encode(code), bytes);
        QCOMPARE(Win1251::sanitized(code), code);
        // Appended to an empty script and saved: the code and the line break the append adds.
        QCOMPARE(ScriptText::appendedAsLine(true, code), bytes + "\r\n");
    }
};

QTEST_MAIN(WizardLinesTest)
#include "test_wizard_lines.moc"
