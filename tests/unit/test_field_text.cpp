// What a one-line field keeps of a change: the inserted text up to its first line break, and one "?"
// for each character Windows-1251 lacks.
#include "common/field_text.h"

#include <QtTest>

using FieldText::LineBreaks;

class FieldTextTest : public QObject {
    Q_OBJECT
private slots:
    void keptText_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("keptCursor");
        QTest::newRow("typed letter") << u"ab"_qs << u"abc"_qs << 3 << u"abc"_qs << 3;
        QTest::newRow("paste in the middle") << u"aXb"_qs << u"aX1\r\n2Xb"_qs << 6 << u"aX1Xb"_qs << 3;
        QTest::newRow("set by the program") << u"aXb"_qs << u"aX1\r\n2Xb"_qs << 8 << u"aX1"_qs << 3;
        QTest::newRow("paste after a letter") << u"ab"_qs << u"a1\n2b"_qs << 4 << u"a1b"_qs << 2;
        QTest::newRow("caret elsewhere") << u"abc"_qs << u"a1\n2bc"_qs << 0 << u"a1bc"_qs << 0;
        QTest::newRow("same letters around") << u"aa"_qs << u"aa\naa"_qs << 3 << u"aaaa"_qs << 2;
        QTest::newRow("only a break") << u"ab"_qs << u"a\rb"_qs << 2 << u"ab"_qs << 1;
        QTest::newRow("break already there") << u"a\nb"_qs << u"a\nbc"_qs << 4 << u"a"_qs << 1;
        QTest::newRow("emoji before the caret")
            << u"ab"_qs << QString::fromUcs4(U"a\U0001F600\U0001F600b") << 5 << u"a??b"_qs << 3;
    }

    void keptText()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, cursor);
        QFETCH(QString, kept);
        QFETCH(int, keptCursor);
        const FieldText::Kept result = FieldText::kept(before, after, cursor, LineBreaks::EndInsertedText);
        QCOMPARE(result.text, kept);
        QCOMPARE(result.cursor, qsizetype(keptCursor));
    }

    void searchTextsKeepTheirBreaks()
    {
        const FieldText::Kept result =
            FieldText::kept(u"a"_qs, QString::fromUcs4(U"a\r\n\U0001F600"), 4, LineBreaks::Keep);
        QCOMPARE(result.text, u"a\r\n?"_qs);
        QCOMPARE(result.cursor, qsizetype(4));
    }
};

QTEST_APPLESS_MAIN(FieldTextTest)
#include "test_field_text.moc"
