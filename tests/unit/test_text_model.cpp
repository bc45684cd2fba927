// The Windows-1251 codec, line-break handling of file text, the save format and appending as a line.
#include "common/win1251_codec.h"
#include "editor/script_file.h"
#include "editor/script_text.h"
#include "editor/text_buffer.h"

#include <QTemporaryDir>
#include <QtTest>

class TextModelTest : public QObject {
    Q_OBJECT
private slots:
    void everyByteSurvivesDecodeAndEncode()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = Win1251::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(Win1251::encode(text), all);
        // Distinct bytes give distinct characters: the table is a bijection.
        QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
    }

    void cyrillicAndSpecialBytesMapToTheirCharacters()
    {
        QCOMPARE(Win1251::toUnicode(0xC0), QChar(u'А'));
        QCOMPARE(Win1251::toUnicode(0xFF), QChar(u'я'));
        QCOMPARE(Win1251::toUnicode(0xA8), QChar(u'Ё'));
        QCOMPARE(Win1251::toUnicode(0xB9), QChar(u'№'));
        QCOMPARE(Win1251::toUnicode(0x88), QChar(u'€'));
        QCOMPARE(Win1251::toUnicode(0x98), QChar(0x98));
        QCOMPARE(Win1251::fromUnicode(QChar(0x98)), char(0x98));
        QCOMPARE(Win1251::encode(u"Привет"), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2"));
    }

    void charactersWithoutAByteBecomeQuestionMarks()
    {
        QVERIFY(!Win1251::isEncodable(QChar(0x4E2D)));
        QVERIFY(!Win1251::isEncodable(QChar(0x00E9))); // é has no byte in this code page
        QCOMPARE(Win1251::sanitized(u"a\u4E2Dб\u00E9"_qs), u"a?б?"_qs);
        QCOMPARE(Win1251::encode(u"\u4E2D"), QByteArray("?"));
    }

    void anEmojiBecomesOneQuestionMark_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("held");
        const QChar high(0xD83D);
        const QChar low(0xDE00);
        QTest::newRow("emoji between letters") << QString::fromUcs4(U"x\U0001F600y") << u"x?y"_qs;
        QTest::newRow("two emoji and Cyrillic") << QString::fromUcs4(U"\U0001F600\U0001F44Dя") << u"??я"_qs;
        QTest::newRow("emoji at the end") << QString::fromUcs4(U"ab\U00010348") << u"ab?"_qs;
        QTest::newRow("lone high surrogate") << u"a"_qs + high + u"b"_qs << u"a?b"_qs;
        QTest::newRow("lone low surrogate") << u"a"_qs + low + u"b"_qs << u"a?b"_qs;
        QTest::newRow("high surrogate last") << u"a"_qs + high << u"a?"_qs;
        QTest::newRow("low before high") << u"a"_qs + low + high + u"b"_qs << u"a??b"_qs;
    }

    void anEmojiBecomesOneQuestionMark()
    {
        QFETCH(QString, typed);
        QFETCH(QString, held);
        QCOMPARE(Win1251::sanitized(typed), held);
        // Saving writes the same: one byte per character.
        QCOMPARE(Win1251::encode(typed), Win1251::encode(held));
        QCOMPARE(Win1251::encode(typed).size(), held.size());
    }

    void fileLineBreaksBecomeCrLf_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("held");
        QTest::newRow("crlf") << QByteArray("a\r\nb") << QByteArray("a\r\nb");
        QTest::newRow("lf") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("cr") << QByteArray("a\rb") << QByteArray("a\r\nb");
        QTest::newRow("cr cr lf") << QByteArray("a\r\r\nb") << QByteArray("a\r\n\r\nb");
        QTest::newRow("lf cr") << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb");
        QTest::newRow("cr at the end") << QByteArray("a\r") << QByteArray("a\r\n");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("nul kept") << QByteArray("a\0b", 3) << QByteArray("a\0b", 3);
    }
    void fileLineBreaksBecomeCrLf()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, held);
        QCOMPARE(ScriptText::normalizedLineBreaks(bytes), held);
    }

    void enteringTextHasCrLfBetweenLinesOnly()
    {
        QCOMPARE(ScriptText::encodedText(u"a\nb"), QByteArray("a\r\nb"));
        QCOMPARE(ScriptText::encodedText(u""), QByteArray());
        QCOMPARE(ScriptText::encodedText(u"a\n"), QByteArray("a\r\n"));
        QCOMPARE(ScriptText::encodedText(u"\n\n"), QByteArray("\r\n\r\n"));
        QCOMPARE(ScriptText::encodedText(u"я\u4E2D"), QByteArray("\xFF?"));
    }

    void openAndSaveGiveTheSameBytesExceptLoneBreaks()
    {
        QByteArray bytes;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                bytes.append(char(b));
        }
        bytes += "\r\nline\nnext\rlast";
        const QByteArray expected = QByteArray(bytes).replace("\r\nline\nnext\rlast", "\r\nline\r\nnext\r\nlast");
        TextBuffer buffer;
        buffer.setBytes(ScriptText::normalizedLineBreaks(bytes));
        QCOMPARE(buffer.allBytes(), expected);
        QCOMPARE(buffer.lineCount(), 4);
    }

    void appendingAsALine_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("empty target") << QString() << u"on *:action:"_qs << u"on *:action:\r\n"_qs;
        QTest::newRow("ends with break") << u"abc\r\n"_qs << u"x"_qs << u"abc\r\nx\r\n"_qs;
        QTest::newRow("no final break") << u"abc"_qs << u"x"_qs << u"abc\r\nx"_qs;
        QTest::newRow("empty text") << u"abc"_qs << QString() << u"abc\r\n"_qs;
        QTest::newRow("lone LF inside") << u"abc"_qs << u"x\ny"_qs << u"abc\r\nx\r\ny"_qs;
        QTest::newRow("ending in a lone CR") << QString() << u"x\r"_qs << u"x\r\n\r\n"_qs;
    }
    void appendingAsALine()
    {
        QFETCH(QString, target);
        QFETCH(QString, text);
        QFETCH(QString, result);
        TextBuffer buffer;
        buffer.setBytes(ScriptText::encodedText(target));
        buffer.replace(buffer.length(), 0, ScriptText::appendedAsLine(buffer.endsWithLineBreak(), text));
        QCOMPARE(buffer.text(0, buffer.length()), result);
    }

    void everyKindOfBreakDividesLines()
    {
        TextBuffer buffer;
        buffer.setBytes(ScriptText::encodedText(u"a\r\nb\nc\rd"));
        QStringList lines;
        for (int i = 0; i < buffer.lineCount(); ++i)
            lines.append(buffer.lineText(i));
        QCOMPARE(lines, QStringList({"a", "b", "c", "d"}));
        buffer.setBytes(ScriptText::encodedText(u"a\r\n"));
        QCOMPARE(buffer.lineCount(), 2);
        QCOMPARE(buffer.lineText(1), QString());
    }

    void failedWriteLeavesTheOldFileAndNoTemporary()
    {
        QTemporaryDir dir;
        QString path = dir.filePath(u"old.mrc"_qs);
        QVERIFY(ScriptFile::write(path, "old bytes"));
        QFile::setPermissions(path, QFile::ReadOwner);
        if (QFileInfo(path).isWritable()) {
            // Rights that ignore permissions (root): a file in a folder no one can create files in.
            path = u"/proc/version"_qs;
            if (!QFileInfo::exists(path))
                QSKIP("no file that cannot be replaced");
        }
        QFile before(path);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray old = before.readAll();
        const QStringList neighbours = QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden);
        QVERIFY(!ScriptFile::write(path, "new"));
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), old);
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden), neighbours);
    }

    void writingIntoAMissingFolderFails()
    {
        QTemporaryDir dir;
        QVERIFY(!ScriptFile::write(dir.filePath(u"no/such/folder/x.mrc"_qs), "x"));
        QVERIFY(!ScriptFile::write(dir.path(), "x")); // a folder is not a file
        QByteArray bytes;
        QCOMPARE(ScriptFile::read(dir.filePath(u"missing.mrc"_qs), &bytes), ScriptFile::ReadError::CannotOpen);
        QCOMPARE(ScriptFile::read(dir.path(), &bytes), ScriptFile::ReadError::CannotOpen);
    }
};

QTEST_GUILESS_MAIN(TextModelTest)
#include "test_text_model.moc"
