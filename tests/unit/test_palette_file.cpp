// Reading catalogue data files: line rules, decoding, missing files, and the shipped files.
#include "catalogue/catalogue_file.h"
#include "language/snippet_tables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPaletteFile : public QObject {
    Q_OBJECT
private slots:
    void lineRules_data();
    void lineRules();
    void decodesWindows1251();
    void readsAFile();
    void missingFileCannotBeOpened();
    void shippedFiles_data();
    void shippedFiles();
    void commandLabelsNameTheirRows();
};

void TestPaletteFile::lineRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("labels");
    const auto list = [](std::initializer_list<const char *> texts) {
        QStringList labels;
        for (const char *text : texts)
            labels.append(QString::fromLatin1(text));
        return labels;
    };
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("one line, no break") << QByteArray("abc") << list({"abc"});
    QTest::newRow("final CR LF adds no row") << QByteArray("a\r\nb\r\n") << list({"a", "b"});
    QTest::newRow("LF alone") << QByteArray("a\nb\n") << list({"a", "b"});
    QTest::newRow("CR alone") << QByteArray("a\rb\r") << list({"a", "b"});
    QTest::newRow("mixed breaks") << QByteArray("a\r\nb\nc\rd") << list({"a", "b", "c", "d"});
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << list({"a", "", "b"});
    QTest::newRow("empty lines") << QByteArray("a\r\n\r\nb\r\n\r\n") << list({"a", "", "b", ""});
    QTest::newRow("only a break") << QByteArray("\r\n") << list({""});
    QTest::newRow("spaces kept") << QByteArray("  a b  \r\n\t") << list({"  a b  ", "\t"});
    QTest::newRow("NUL ends the rows") << QByteArray("a\r\nb\0c\r\nd", 9) << list({"a", "b"});
    QTest::newRow("NUL at the start") << QByteArray("\0a\r\n", 4) << QStringList();
    QTest::newRow("NUL after a break") << QByteArray("a\r\n\0b", 5) << list({"a"});
}

void TestPaletteFile::lineRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, labels);
    QCOMPARE(CatalogueFile::labels(bytes), labels);
}

void TestPaletteFile::decodesWindows1251()
{
    const QStringList labels = CatalogueFile::labels(QByteArray("\xD1\xE8\xEC\xE2\xEE\xEB\r\n\x98\r\n\xB9"));
    QCOMPARE(labels, QStringList({QStringLiteral("Символ"), QString(QChar(0x0098)), QStringLiteral("№")}));
}

void TestPaletteFile::readsAFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("labels.orl")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("on text\r\n\xCA\xEE\xEC\xE0\xED\xE4\xFB\r\n");
    file.close();

    const std::optional<QStringList> labels = CatalogueFile::read(file.fileName());
    QVERIFY(labels.has_value());
    QCOMPARE(*labels, QStringList({QStringLiteral("on text"), QStringLiteral("Команды")}));
}

void TestPaletteFile::missingFileCannotBeOpened()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(!CatalogueFile::read(dir.filePath(QStringLiteral("Dat/simbol.orl"))).has_value());
    // A folder of that name is not a file either.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Dat/On.orl")));
    QVERIFY(!CatalogueFile::read(dir.filePath(QStringLiteral("Dat/On.orl"))).has_value());
}

void TestPaletteFile::shippedFiles_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<SnippetTable>("table");
    QTest::newRow("simbol") << QStringLiteral("simbol.orl") << SnippetTable::Symbols;
    QTest::newRow("On") << QStringLiteral("On.orl") << SnippetTable::EventHeaders;
    QTest::newRow("Identifers") << QStringLiteral("Identifers.orl") << SnippetTable::Identifiers;
    QTest::newRow("Comands") << QStringLiteral("Comands.orl") << SnippetTable::Commands;
    QTest::newRow("DialogBox") << QStringLiteral("DialogBox.orl") << SnippetTable::DialogTemplates;
}

// Each shipped file labels every row of its table, one CR LF line a row, and no label is blank.
void TestPaletteFile::shippedFiles()
{
    QFETCH(QString, fileName);
    QFETCH(SnippetTable, table);
    QFile file(QDir(QStringLiteral(ORL_DATA_DIR)).filePath(fileName));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray bytes = file.readAll();

    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\r'));
    QVERIFY(!bytes.contains('\0'));

    const QStringList labels = CatalogueFile::labels(bytes);
    QCOMPARE(labels.size(), snippetTable(table).size());
    for (const QString &label : labels)
        QVERIFY(!label.trimmed().isEmpty());
}

// Each label of the commands palette begins with the command its row inserts ("timer" for "timer[Nname]").
void TestPaletteFile::commandLabelsNameTheirRows()
{
    const std::optional<QStringList> labels =
        CatalogueFile::read(QDir(QStringLiteral(ORL_DATA_DIR)).filePath(QStringLiteral("Comands.orl")));
    QVERIFY(labels.has_value());
    const QStringList &rows = snippetTable(SnippetTable::Commands);
    QCOMPARE(labels->size(), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString name = labels->at(i).section(QLatin1Char(' '), 0, 0);
        QVERIFY2(rows.at(i).startsWith(name), qPrintable(QStringLiteral("row %1: %2").arg(i).arg(labels->at(i))));
    }
    QCOMPARE(labels->at(42), QStringLiteral("dcc get"));
    QCOMPARE(labels->at(90), QStringLiteral("gopts"));
    QCOMPARE(labels->at(146), QStringLiteral("play"));
}

QTEST_APPLESS_MAIN(TestPaletteFile)
#include "test_palette_file.moc"
