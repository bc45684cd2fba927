// The contrast measure every text keeps to its background, and the colour that keeps it.
#include "common/text_contrast.h"

#include <QtTest>

class TextContrastRuleTest : public QObject {
    Q_OBJECT
private slots:
    void ratioFollowsTheGuidelines()
    {
        QCOMPARE(qRound(TextContrast::ratio(Qt::black, Qt::white) * 100), 2100);
        QCOMPARE(TextContrast::ratio(Qt::white, Qt::black), TextContrast::ratio(Qt::black, Qt::white));
        QCOMPARE(TextContrast::ratio(QColor(0x77, 0x77, 0x77), QColor(0x77, 0x77, 0x77)), 1.0);
        // #767676 is the lightest grey on white that passes; #777777 just fails.
        QVERIFY(TextContrast::ratio(QColor(0x76, 0x76, 0x76), Qt::white) >= TextContrast::kLeastRatio);
        QVERIFY(TextContrast::ratio(QColor(0x77, 0x77, 0x77), Qt::white) < TextContrast::kLeastRatio);
    }

    void readableKeepsAGoodColourAndMendsAPoorOne()
    {
        const QColor navy(0, 0, 128);
        QCOMPARE(TextContrast::readable(navy, Qt::white), navy);
        // On every grey, and on saturated backgrounds, the result reads well and keeps its hue's lead.
        for (int grey = 0; grey <= 255; grey += 15) {
            const QColor background(grey, grey, grey);
            for (const QColor &wanted : {navy, QColor(Qt::red), QColor(Qt::green), QColor(128, 128, 0)}) {
                const QColor mended = TextContrast::readable(wanted, background);
                QVERIFY2(TextContrast::ratio(mended, background) >= TextContrast::kLeastRatio,
                         qPrintable(u"%1 on %2"_qs.arg(wanted.name(), background.name())));
            }
            const QColor blue = TextContrast::readable(navy, background);
            QVERIFY2(blue.blue() >= blue.red() && blue.blue() >= blue.green(), qPrintable(blue.name()));
        }
        // Only as far from the wanted colour as needed: navy on dark grey becomes a light blue, not white.
        const QColor lighter = TextContrast::readable(navy, QColor(70, 70, 70));
        QVERIFY(lighter != QColor(Qt::white));
        QVERIFY(lighter.blue() > lighter.red());
    }
};

QTEST_APPLESS_MAIN(TextContrastRuleTest)
#include "test_text_contrast.moc"
