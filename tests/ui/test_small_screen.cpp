// The dialog designer on screens smaller than its fixed layout: a netbook's 1024 x 600, and a
// 1366 x 768 screen at twice the scale (683 x 384 logical pixels). The window lies wholly on the
// screen, title bar included, keeps its layout and scrolls to every part of it.
#include "app/main_window.h"
#include "designer/dialog_designer_window.h"
#include "support/program_test.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QScreen *screenNamed(const QString &name)
{
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    return nullptr;
}

} // namespace

class SmallScreenTest : public ProgramTest {
    Q_OBJECT
public:
    SmallScreenTest() : ProgramTest(ErrorBoxes::Forbidden) { }

private slots:
    void theDesignerFitsTheScreenAndScrollsToEveryPart_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::newRow("1024 x 600") << u"netbook"_qs;
        QTest::newRow("1366 x 768 at twice the scale") << u"scaled"_qs;
    }

    void theDesignerFitsTheScreenAndScrollsToEveryPart()
    {
        QFETCH(QString, screen);
        QScreen *target = screenNamed(screen);
        QVERIFY(target);
        // The designer opens on the main window's screen.
        Orl->showNormal();
        Orl->setGeometry(QRect(target->availableGeometry().topLeft() + QPoint(20, 20), QSize(400, 300)));
        QApplication::processEvents();
        QCOMPARE(Orl->screen(), target);

        Orl->N23Click();
        TForm5 *designer = Form5;
        QVERIFY(QTest::qWaitForWindowExposed(designer));
        QCOMPARE(designer->screen(), target);
        const QRect available = target->availableGeometry();
        QVERIFY2(available.contains(designer->frameGeometry()),
                 qPrintable(u"%1,%2 %3x%4"_qs.arg(designer->frameGeometry().x()).arg(designer->frameGeometry().y())
                                .arg(designer->frameGeometry().width()).arg(designer->frameGeometry().height())));
        // Still a fixed size, not to be dragged larger than the screen.
        QCOMPARE(designer->minimumSize(), designer->maximumSize());

        // The layout keeps its places; the window scrolls to its last control.
        auto *scroll = designer->findChild<QScrollArea *>();
        QVERIFY(scroll);
        QCOMPARE(scroll->widget()->size(), QSize(669, 671));
        QCOMPARE(designer->Label3->pos(), QPoint(16, 472));
        QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
        scroll->ensureWidgetVisible(designer->Button29);
        QApplication::processEvents();
        const QRect button(designer->Button29->mapTo(scroll->viewport(), QPoint(0, 0)), designer->Button29->size());
        QVERIFY(scroll->viewport()->rect().contains(button));
        designer->close();
    }
};

namespace {

// The screens the program runs on here, side by side, in logical pixels.
QByteArray screenConfiguration()
{
    const auto screen = [](const char *name, int x, int width, int height, double dpr) {
        return QJsonObject{{u"name"_qs, QString::fromLatin1(name)}, {u"x"_qs, x}, {u"y"_qs, 0},
                           {u"width"_qs, width}, {u"height"_qs, height}, {u"logicalDpi"_qs, 96},
                           {u"logicalBaseDpi"_qs, 96}, {u"dpr"_qs, dpr}};
    };
    const QJsonArray screens{screen("netbook", 0, 1024, 600, 1), screen("scaled", 1024, 683, 384, 2)};
    return QJsonDocument(QJsonObject{{u"screens"_qs, screens}}).toJson();
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir folder;
    QFile configuration(folder.filePath(QStringLiteral("screens.json")));
    if (!configuration.open(QIODevice::WriteOnly) || configuration.write(screenConfiguration()) < 0)
        return 1;
    configuration.close();
    // The platform's arguments are separated by colons, which a Windows drive letter would split:
    // the file is named from its own folder while the application starts.
    const QString workingFolder = QDir::currentPath();
    QDir::setCurrent(folder.path());
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=screens.json");
    QApplication application(argc, argv);
    QDir::setCurrent(workingFolder);
    SmallScreenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_small_screen.moc"
