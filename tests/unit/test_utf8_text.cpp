// UTF-8 as the editor reads it: which encoding a file's bytes are taken in, the check of UTF-8
// against Qt's own decoder, and the counts in UTF-16 units that offsets rest on.
#include "common/utf8_codec.h"
#include "editor/script_text.h"
#include "editor/text_buffer.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Bytes of every kind a UTF-8 check must tell apart, the lead bytes of each length and the edges
// of their second bytes among them, and runs of two-byte characters, which it takes eight bytes at
// a time, with a fault here and there.
QByteArray randomBytes(QRandomGenerator &random, int pieces)
{
    static const QByteArray kinds = "a\n\r\x80\x8F\x90\x9F\xA0\xBF\xC0\xC1\xC2\xD0\xD1\xDF\xE0\xED\xEF\xF0\xF4\xF5\xFF"_qba;
    static const QList<QByteArray> runs{QStringLiteral("приветствие").toUtf8(), "\xD0\x96\xC1\x96\xD0\x96\xD0\x96"_qba,
                                        "\xD0\x96\xD0\x96\xD0\xC6\xD0\x96"_qba, "\xC2\x80\xDF\xBF\xD0\x96\xD0"_qba};
    QByteArray bytes;
    for (int i = 0; i < pieces; ++i) {
        const int kind = random.bounded(6);
        if (kind == 0)
            bytes += char(random.bounded(256));
        else if (kind == 1)
            bytes += runs.at(random.bounded(int(runs.size())));
        else
            bytes += kinds.at(random.bounded(int(kinds.size())));
    }
    return bytes;
}

} // namespace

class Utf8TextTest : public QObject {
    Q_OBJECT
private slots:
    void theEncodingComesFromTheBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ScriptEncoding>("encoding");
        const auto row = [](const char *name, const QByteArray &bytes, ScriptEncoding encoding) {
            QTest::newRow(name) << bytes << encoding;
        };
        using E = ScriptEncoding;
        row("mark and UTF-8", "\xEF\xBB\xBF" "echo \xD0\x96"_qba, E::Utf8WithBom);
        row("mark and ASCII", "\xEF\xBB\xBF" "echo"_qba, E::Utf8WithBom);
        row("mark alone", "\xEF\xBB\xBF"_qba, E::Utf8WithBom);
        row("mark before bytes that are no UTF-8", "\xEF\xBB\xBF" "\xCF\xF0\xE8"_qba, E::Windows1251);
        row("Cyrillic in UTF-8", QStringLiteral("; Привет, мир").toUtf8(), E::Utf8);
        row("emoji and CJK", QString::fromUcs4(U"x \U0001F600 \u4E2D").toUtf8(), E::Utf8);
        row("pure ASCII", "alias x { echo -a hi }\r\n"_qba, E::Windows1251);
        row("empty", QByteArray(), E::Windows1251);
        row("Russian in Windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0!"_qba, E::Windows1251);
        row("truncated at the end", "ok \xD0\x96 \xE2\x82"_qba, E::Windows1251);
        row("lead alone at the end", "ok \xD0"_qba, E::Windows1251);
        row("overlong two bytes", "\xC0\xAF \xD0\x96"_qba, E::Windows1251);
        row("overlong three bytes", "\xE0\x80\xAF \xD0\x96"_qba, E::Windows1251);
        row("overlong four bytes", "\xF0\x80\x80\xAF \xD0\x96"_qba, E::Windows1251);
        row("surrogate", "\xED\xA0\x80 \xD0\x96"_qba, E::Windows1251);
        row("above U+10FFFF", "\xF4\x90\x80\x80 \xD0\x96"_qba, E::Windows1251);
        row("continuation alone", "\xD0\x96\x96"_qba, E::Windows1251);
        row("last code point", "\xF4\x8F\xBF\xBF"_qba, E::Utf8);
        row("last before the surrogates", "\xED\x9F\xBF"_qba, E::Utf8);
    }

    void theEncodingComesFromTheBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(ScriptEncoding, encoding);
        QCOMPARE(ScriptText::detectedEncoding(bytes), encoding);
        // Made ready for the editor, the same; the mark is no part of the text.
        const TextBuffer::Prepared text = TextBuffer::prepare(bytes);
        QCOMPARE(text.encoding, encoding);
        QCOMPARE(ScriptText::decodedText(text.bytes, encoding),
                 ScriptText::isUtf8(encoding) ? QString::fromUtf8(bytes).remove(QChar(0xFEFF)) : ScriptText::decodedText(bytes, encoding));
    }

    void theCheckAgreesWithQtsDecoderOnRandomBytes()
    {
        // Bytes are UTF-8 where Qt's decoder takes them back to the same bytes; the check stops at the
        // first byte that is not, and everything before it is.
        QRandomGenerator random(26);
        for (int round = 0; round < 20000; ++round) {
            const QByteArray bytes = randomBytes(random, random.bounded(1, 16));
            const Utf8::Scan scan = Utf8::scan(bytes);
            const bool valid = QString::fromUtf8(bytes).toUtf8() == bytes;
            QVERIFY2((scan.validLength == bytes.size()) == valid, bytes.toHex(' ').constData());
            QVERIFY2(QString::fromUtf8(bytes.first(scan.validLength)).toUtf8() == bytes.first(scan.validLength),
                     bytes.toHex(' ').constData());
            const QByteArray prefix = bytes.first(scan.validLength);
            QCOMPARE(scan.multiByte, std::any_of(prefix.begin(), prefix.end(), [](char c) { return uchar(c) >= 0x80; }));
        }
    }

    void countsInUnitsAgreeWithQString()
    {
        // Lines of one-, two-, three- and four-byte characters in every mixture and length, so that
        // the counts taken eight bytes at a time meet characters across every place of a word.
        QRandomGenerator random(7);
        const QList<QString> pieces{u"a"_qs, u"ж"_qs, u"Ёё"_qs, u"€"_qs, u"\u4E2D"_qs, QString::fromUcs4(U"\U0001F600"),
                                    u"\r\n"_qs, u"привет"_qs, u"  echo "_qs};
        for (int round = 0; round < 300; ++round) {
            QString text;
            for (int i = random.bounded(60); i > 0; --i)
                text += pieces.at(random.bounded(int(pieces.size())));
            const QByteArray bytes = text.toUtf8();
            QCOMPARE(Utf8::utf16Length(bytes), text.size());
            for (qsizetype units = 0; units <= text.size() + 1; ++units) {
                const Utf8::Position at = Utf8::positionOfUnits(bytes, units);
                // Inside a surrogate pair the count stops before its character.
                const qsizetype reached = qMin(units, text.size()) - (units < text.size() && text.at(units).isLowSurrogate());
                QCOMPARE(at.units, reached);
                QCOMPARE(at.bytes, text.left(reached).toUtf8().size());
            }
            QList<qsizetype> lineStarts{0};
            QList<qsizetype> unitStarts{0};
            for (qsizetype at = bytes.indexOf('\n'); at >= 0; at = bytes.indexOf('\n', at + 1))
                lineStarts.append(at + 1);
            Utf8::appendUnitStarts(bytes, lineStarts, 1, unitStarts);
            QList<qsizetype> expected{0};
            for (qsizetype at = text.indexOf(u'\n'); at >= 0; at = text.indexOf(u'\n', at + 1))
                expected.append(at + 1);
            QCOMPARE(unitStarts, expected);
        }
    }
};

QTEST_APPLESS_MAIN(Utf8TextTest)
#include "test_utf8_text.moc"
