// The dialog-table lines of the designer's pages, compared character for character.
#include "designer/dialog_lines.h"

#include <QtTest>

#include <initializer_list>
#include <utility>

using namespace DialogLines;

namespace {

SlotWords slotsWith(std::initializer_list<std::pair<int, QString>> words)
{
    SlotWords slotWords;
    for (const auto &[n, word] : words)
        slotWords[n - 1] = word;
    return slotWords;
}

// Every slot holds a word of its own, so a line shows which slots its generator reads.
SlotWords everySlotFilled()
{
    SlotWords slotWords;
    for (int n = 1; n <= 12; ++n)
        slotWords[n - 1] = QStringLiteral("s%1").arg(n);
    return slotWords;
}

QString spaces(int count)
{
    return QString(count, QLatin1Char(' '));
}

const Geometry kMinusOne{u"-1"_qs, u"-1"_qs, u"0"_qs, u"0"_qs};
const Geometry kButtonDefault{u"25"_qs, u"25"_qs, u"37"_qs, u"12"_qs};

} // namespace

class DesignerLinesTest : public QObject {
    Q_OBJECT
private slots:
    void header_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("expected");

        const QStringList opening{u"dialog new_table {"_qs, u"title \"Test\""_qs, u"size -1 -1 0 0"_qs};
        QTest::newRow("defaults, quoted title, XP style")
            << headerLines({.title = u"\"Test\""_qs, .size = kMinusOne})
            << (QStringList(opening) << u"option pixels"_qs);
        QTest::newRow("Win98 style")
            << headerLines({.title = u"\"Test\""_qs, .size = kMinusOne, .win98Style = true})
            << (QStringList(opening) << u"option pixels notheme"_qs);
        QTest::newRow("icon line after the option line")
            << headerLines({.title = u"\"Test\""_qs, .size = kMinusOne, .withIcon = true,
                            .iconFile = u"C:\\pics\\app.ico"_qs})
            << (QStringList(opening) << u"option pixels"_qs << u"icon C:\\pics\\app.ico, 0"_qs);
        QTest::newRow("icon box ticked without a file")
            << headerLines({.title = u"\"Test\""_qs, .size = kMinusOne, .withIcon = true})
            << (QStringList(opening) << u"option pixels"_qs << u"icon , 0"_qs);
        QTest::newRow("icon file kept but the box unticked")
            << headerLines({.title = u"\"Test\""_qs, .size = kMinusOne, .iconFile = u"a.ico"_qs})
            << (QStringList(opening) << u"option pixels"_qs);
        QTest::newRow("empty title keeps its space")
            << headerLines({.size = kMinusOne})
            << QStringList{u"dialog new_table {"_qs, u"title "_qs, u"size -1 -1 0 0"_qs, u"option pixels"_qs};
        QTest::newRow("geometry as typed, empty and non-numeric")
            << headerLines({.title = u"Без кавычек"_qs, .size = {u"abc"_qs, QString(), u"10"_qs, u" 5"_qs}})
            << QStringList{u"dialog new_table {"_qs, u"title Без кавычек"_qs, u"size abc  10  5"_qs,
                           u"option pixels"_qs};
    }
    void header()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, expected);
        QCOMPARE(lines, expected);
    }

    void firstControls_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");

        QTest::newRow("button, quoted text, ok")
            << buttonLine({.text = u"\"OK\""_qs, .id = u"1"_qs, .geometry = kButtonDefault, .type = u"ok"_qs})
            << u"button \"OK\", 1, 25 25 37 12 ,"_qs + spaces(6) + u"ok"_qs;
        QTest::newRow("button, disable and default")
            << buttonLine({.text = u"\"OK\""_qs, .id = u"1"_qs, .geometry = kButtonDefault,
                           .slotWords = slotsWith({{1, u"disable"_qs}, {5, u"default"_qs}}), .type = u"ok"_qs})
            << u"button \"OK\", 1, 25 25 37 12 ,disable    default  ok"_qs;
        QTest::newRow("button, every field empty")
            << buttonLine({.geometry = kButtonDefault})
            << u"button , , 25 25 37 12 ,"_qs + spaces(6);
        QTest::newRow("button, two-word type as listed")
            << buttonLine({.text = u"\"Go\""_qs, .id = u"9"_qs, .geometry = kButtonDefault,
                           .slotWords = slotsWith({{6, u"flat"_qs}}), .type = u"ok cancel"_qs})
            << u"button \"Go\", 9, 25 25 37 12 ,     flat ok cancel"_qs;
        QTest::newRow("button reads slots 1 to 6")
            << buttonLine({.id = u"1"_qs, .geometry = kButtonDefault, .slotWords = everySlotFilled()})
            << u"button , 1, 25 25 37 12 ,s1 s2 s3 s4 s5 s6 "_qs;

        QTest::newRow("radio, Push Left")
            << radioLine({.text = u"\"One\""_qs, .id = u"2"_qs, .geometry = kMinusOne, .type = u"Push"_qs,
                          .alignment = u"Left"_qs})
            << u"radio \"One\", 2, -1 -1 0 0 ,     Push Left"_qs;
        QTest::newRow("radio, nothing chosen")
            << radioLine({.geometry = kMinusOne}) << u"radio , , -1 -1 0 0 ,"_qs + spaces(6);
        QTest::newRow("radio reads slots 1 to 5")
            << radioLine({.id = u"2"_qs, .geometry = kMinusOne, .slotWords = everySlotFilled(),
                          .alignment = u"Right"_qs})
            << u"radio , 2, -1 -1 0 0 ,s1 s2 s3 s4 s5  Right"_qs;

        QTest::newRow("combo, size drop")
            << comboLine({.id = u"3"_qs, .geometry = kMinusOne, .type = u"size drop"_qs})
            << u"combo 3, -1 -1 0 0 ,"_qs + spaces(6) + u"size drop"_qs;
        QTest::newRow("combo, both scroll-bar words in slot order")
            << comboLine({.id = u"3"_qs, .geometry = kMinusOne,
                          .slotWords = slotsWith({{5, u"hsbar"_qs}, {6, u"vsbar"_qs}})})
            << u"combo 3, -1 -1 0 0 ,    hsbar vsbar "_qs;
        QTest::newRow("combo reads slots 1 to 6")
            << comboLine({.id = u"3"_qs, .geometry = kMinusOne, .slotWords = everySlotFilled(), .type = u"size"_qs})
            << u"combo 3, -1 -1 0 0 ,s1 s2 s3 s4 s5 s6 size"_qs;

        QTest::newRow("list, sort and vsbar")
            << listLine({.id = u"4"_qs, .geometry = kMinusOne,
                         .slotWords = slotsWith({{5, u"sort"_qs}, {6, u"vsbar"_qs}})})
            << u"list 4, -1 -1 0 0 ,    sort vsbar "_qs;
        QTest::newRow("list, all seven boxes")
            << listLine({.id = u"4"_qs, .geometry = kMinusOne,
                         .slotWords = slotsWith({{1, u"disable"_qs}, {2, u"result"_qs}, {3, u"group"_qs},
                                                 {4, u"hide"_qs}, {5, u"sort"_qs}, {6, u"vsbar"_qs},
                                                 {7, u"hsbar"_qs}})})
            << u"list 4, -1 -1 0 0 ,disable result group hide sort vsbar hsbar"_qs;
        QTest::newRow("list, empty id keeps its separators")
            << listLine({.geometry = kMinusOne}) << u"list , -1 -1 0 0 ,"_qs + spaces(6);
        QTest::newRow("list reads slots 1 to 7")
            << listLine({.id = u"4"_qs, .geometry = kMinusOne, .slotWords = everySlotFilled()})
            << u"list 4, -1 -1 0 0 ,s1 s2 s3 s4 s5 s6 s7"_qs;
    }
    void firstControls()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(line, expected);
    }

    void editBox_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");

        const Geometry name{u"10"_qs, u"20"_qs, u"100"_qs, u"12"_qs};
        const SlotWords readAndVsbar = slotsWith({{5, u"read"_qs}, {10, u"vsbar"_qs}});
        QTest::newRow("limit form: limit, one space, the limit text")
            << editLine({.text = u"Name"_qs, .id = u"5"_qs, .geometry = name, .limit = u"10"_qs,
                         .slotWords = readAndVsbar})
            << u"edit Name, 5, 10 20 100 12 ,limit 10     read     vsbar "_qs;
        QTest::newRow("plain form")
            << editLine({.text = u"Name"_qs, .id = u"5"_qs, .geometry = name, .withLimit = false,
                         .limit = u"10"_qs, .slotWords = readAndVsbar})
            << u"edit Name, 5, 10 20 100 12 ,    read     vsbar "_qs;
        QTest::newRow("defaults, limit on and empty")
            << editLine({.geometry = kMinusOne}) << u"edit , , -1 -1 0 0 ,limit "_qs + spaces(11);
        QTest::newRow("defaults, limit off")
            << editLine({.geometry = kMinusOne, .withLimit = false}) << u"edit , , -1 -1 0 0 ,"_qs + spaces(10);
        QTest::newRow("all eleven words, plain form")
            << editLine({.text = u"Name"_qs, .id = u"5"_qs, .geometry = name, .withLimit = false,
                         .slotWords = slotsWith({{1, u"disable"_qs}, {2, u"result"_qs}, {3, u"group"_qs},
                                                 {4, u"hide"_qs}, {5, u"read"_qs}, {6, u"pass"_qs},
                                                 {7, u"multi"_qs}, {8, u"autohs"_qs}, {9, u"autovs"_qs},
                                                 {10, u"vsbar"_qs}, {11, u"hsbar"_qs}})})
            << u"edit Name, 5, 10 20 100 12 ,disable result group hide read pass multi autohs autovs vsbar hsbar"_qs;
        QTest::newRow("words stand in slot order")
            << editLine({.geometry = kMinusOne, .withLimit = false,
                         .slotWords = slotsWith({{7, u"multi"_qs}, {1, u"disable"_qs}})})
            << u"edit , , -1 -1 0 0 ,disable      multi    "_qs;
        QTest::newRow("quoted caption kept, bare caption bare")
            << editLine({.text = u"\"Name\""_qs, .id = u"5"_qs, .geometry = name, .withLimit = false})
                   + editLine({.text = u"Name"_qs, .id = u"5"_qs, .geometry = name, .withLimit = false})
            << u"edit \"Name\", 5, 10 20 100 12 ,"_qs + spaces(10) + u"edit Name, 5, 10 20 100 12 ,"_qs + spaces(10);
        QTest::newRow("reads slots 1 to 11")
            << editLine({.id = u"5"_qs, .geometry = kMinusOne, .limit = u"3"_qs, .slotWords = everySlotFilled()})
            << u"edit , 5, -1 -1 0 0 ,limit 3 s1 s2 s3 s4 s5 s6 s7 s8 s9 s10 s11"_qs;
    }
    void editBox()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(line, expected);
    }

    void linkTabAndIcon_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");

        QTest::newRow("link defaults") << linkLine({.geometry = kMinusOne}) << u"link , , -1 -1 0 0 ,"_qs + spaces(4);
        QTest::newRow("link with hide")
            << linkLine({.text = u"Home"_qs, .id = u"3"_qs, .geometry = {u"5"_qs, u"5"_qs, u"40"_qs, u"10"_qs},
                         .slotWords = slotsWith({{4, u"hide"_qs}})})
            << u"link Home, 3, 5 5 40 10 ,   hide "_qs;
        QTest::newRow("link reads slots 1 to 5")
            << linkLine({.id = u"3"_qs, .geometry = kMinusOne, .slotWords = everySlotFilled()})
            << u"link , 3, -1 -1 0 0 ,s1 s2 s3 s4 s5"_qs;

        QTest::newRow("tab defaults") << tabLine({.geometry = kMinusOne}) << u"tab , , -1 -1 0 0 ,"_qs + spaces(3);
        QTest::newRow("tab with disable")
            << tabLine({.title = u"Main"_qs, .id = u"100"_qs, .geometry = {u"0"_qs, u"0"_qs, u"200"_qs, u"150"_qs},
                        .slotWords = slotsWith({{1, u"disable"_qs}})})
            << u"tab Main, 100, 0 0 200 150 ,disable"_qs + spaces(3);
        QTest::newRow("tab reads slots 1 to 4")
            << tabLine({.id = u"1"_qs, .geometry = kMinusOne, .slotWords = everySlotFilled()})
            << u"tab , 1, -1 -1 0 0 ,s1 s2 s3 s4"_qs;

        QTest::newRow("icon defaults: no text field, nothing after the comma")
            << iconLine({.geometry = kMinusOne}) << u"icon , -1 -1 0 0 ,"_qs;
        QTest::newRow("icon with a file")
            << iconLine({.id = u"7"_qs, .geometry = {u"10"_qs, u"10"_qs, u"32"_qs, u"32"_qs},
                         .file = u"C:\\pics\\logo.bmp"_qs})
            << u"icon 7, 10 10 32 32 ,C:\\pics\\logo.bmp"_qs;
    }
    void linkTabAndIcon()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(line, expected);
    }

    void checkScrollTextAndPanel_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");

        QTest::newRow("check defaults")
            << checkLine({.geometry = kMinusOne}) << u"check , , -1 -1 0 0 ,"_qs + spaces(6);
        QTest::newRow("check push left flat")
            << checkLine({.text = u"Remember"_qs, .id = u"4"_qs, .geometry = {u"10"_qs, u"40"_qs, u"80"_qs, u"12"_qs},
                          .type = u"push"_qs, .alignment = u"left"_qs, .slotWords = slotsWith({{5, u"flat"_qs}})})
            << u"check Remember, 4, 10 40 80 12 ,push left     flat"_qs;
        QTest::newRow("check standart as listed")
            << checkLine({.geometry = kMinusOne, .type = u"standart"_qs})
            << u"check , , -1 -1 0 0 ,standart"_qs + spaces(6);
        QTest::newRow("check reads slots 1 to 5")
            << checkLine({.geometry = kMinusOne, .slotWords = everySlotFilled()})
            << u"check , , -1 -1 0 0 ,  s1 s2 s3 s4 s5"_qs;

        QTest::newRow("scroll defaults")
            << scrollLine({.geometry = kMinusOne}) << u"scroll , , -1 -1 0 0 ,"_qs + spaces(5);
        QTest::newRow("scroll horizontal bottom disable")
            << scrollLine({.text = u"Vol"_qs, .id = u"9"_qs, .geometry = {u"10"_qs, u"60"_qs, u"100"_qs, u"12"_qs},
                           .orientation = u"horizontal"_qs, .alignment = u"bottom"_qs,
                           .slotWords = slotsWith({{1, u"disable"_qs}})})
            << u"scroll Vol, 9, 10 60 100 12 ,horizontal bottom disable"_qs + spaces(3);
        QTest::newRow("scroll reads slots 1 to 4")
            << scrollLine({.geometry = kMinusOne, .orientation = u"vertical"_qs, .slotWords = everySlotFilled()})
            << u"scroll , , -1 -1 0 0 ,vertical  s1 s2 s3 s4"_qs;

        QTest::newRow("text defaults: keyword text")
            << textLine({.geometry = kMinusOne}) << u"text , , -1 -1 0 0 ,"_qs + spaces(4);
        QTest::newRow("text right-aligned, capital as listed")
            << textLine({.text = u"Nick:"_qs, .id = u"2"_qs, .geometry = {u"10"_qs, u"10"_qs, u"30"_qs, u"10"_qs},
                         .alignment = u"Right"_qs})
            << u"text Nick:, 2, 10 10 30 10 ,Right"_qs + spaces(4);
        QTest::newRow("text reads slots 1 to 4")
            << textLine({.geometry = kMinusOne, .slotWords = everySlotFilled()})
            << u"text , , -1 -1 0 0 , s1 s2 s3 s4"_qs;

        QTest::newRow("panel defaults: style part after \" ,\"")
            << panelLine({.geometry = kMinusOne}) << u"box , , -1 -1 0 0 ,"_qs + spaces(3);
        QTest::newRow("panel with group")
            << panelLine({.text = u"Options"_qs, .id = u"12"_qs, .geometry = {u"5"_qs, u"5"_qs, u"190"_qs, u"90"_qs},
                          .slotWords = slotsWith({{3, u"group"_qs}})})
            << u"box Options, 12, 5 5 190 90 ,  group "_qs;
        QTest::newRow("panel reads slots 1 to 4")
            << panelLine({.id = u"12"_qs, .geometry = kMinusOne, .slotWords = everySlotFilled()})
            << u"box , 12, -1 -1 0 0 ,s1 s2 s3 s4"_qs;
    }
    void checkScrollTextAndPanel()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(line, expected);
    }
};

QTEST_GUILESS_MAIN(DesignerLinesTest)
#include "test_designer_lines.moc"
