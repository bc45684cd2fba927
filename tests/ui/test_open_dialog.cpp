// The real open dialog: a typed name of a file that does not exist reaches the program, which
// reports it in its own error box after creating the empty window.
#include "app/main_window.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Shows the toolkit's own file dialogs; message boxes go to the test's script as usual.
class RealFileDialogs : public Dialogs::Responder {
public:
    explicit RealFileDialogs(ScriptedDialogs *script) : m_script(script) { Dialogs::setResponder(this); }
    ~RealFileDialogs() override { Dialogs::setResponder(m_script); }

    Dialogs::Button message(const Dialogs::Message &request) override { return m_script->message(request); }

    Dialogs::FileAnswer file(const Dialogs::FileRequest &request) override
    {
        Dialogs::setResponder(nullptr);
        const Dialogs::FileAnswer answer = Dialogs::chooseFile(request);
        Dialogs::setResponder(this);
        return answer;
    }

private:
    ScriptedDialogs *m_script;
};

// Runs "Открыть...", typing the path into the open dialog and confirming it. A box of the toolkit's
// own is closed, and the dialog then cancelled; their texts are returned.
QStringList openByTypedName(const QString &path)
{
    QStringList toolkitBoxes;
    bool typed = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            toolkitBoxes.append(box->text());
            box->reject();
        } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (typed || !name) {
                dialog->reject();
                return;
            }
            name->setText(path);
            typed = true;
            // Pressed after this tick, which must not hold up the next one.
            QTimer::singleShot(0, name, [name] { QTest::keyClick(name, Qt::Key_Return); });
        }
    });
    user.start(20);
    Orl->N4->trigger();
    return toolkitBoxes;
}

} // namespace

class OpenDialogTest : public ProgramTest {
    Q_OBJECT

private slots:

    void aTypedNameOfNoFileGetsTheProgramsOwnMessage()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("missing.mrc"));
        RealFileDialogs real(dialogs);
        const QStringList toolkitBoxes = openByTypedName(missing);
        QVERIFY2(toolkitBoxes.isEmpty(), qPrintable(toolkitBoxes.join(u'\n')));
        QCOMPARE(dialogs->errors(), QStringList{u"Cannot open file %1."_qs.arg(missing)});
        // Nothing was read, so no window is left.
        QCOMPARE(Orl->MDIChildCount(), 0);
    }

    void aTypedNameOfAFileOpensIt()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("script.mrc"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("a\r\nb");
        file.close();
        RealFileDialogs real(dialogs);
        QCOMPARE(openByTypedName(path), QStringList());
        QCOMPARE(dialogs->errors(), QStringList());
        QCOMPARE(Form2->windowTitle(), path);
        QCOMPARE(Form2->Memo1->wholeText(), u"a\r\nb"_qs);
    }
};

QTEST_MAIN(OpenDialogTest)
#include "test_open_dialog.moc"
