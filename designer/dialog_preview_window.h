#pragma once

#include "language/dialog_checks.h"
#include "language/dialog_table.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QScrollArea;
class QStyle;
class QTabWidget;
class QVBoxLayout;
class ScriptMemo;

// A top-level tool window that shows the mIRC dialog described by a dialog table of a script text
// as mIRC would lay it out, beside the list of the table's lines that mIRC would refuse (errors) or
// misread (warnings). It follows the table that was under the caret when it opened and redraws
// shortly after each edit; nothing in it runs: the controls are for looking.
class DialogPreviewWindow : public QWidget {
    Q_OBJECT
public:
    // Follows the table under the caret of `source`; a tool window of `owner`, freed when closed.
    explicit DialogPreviewWindow(ScriptMemo *source, QWidget *owner = nullptr);
    ~DialogPreviewWindow() override;

    // Shows the dialog designer's code: the text's first table where the caret stands in none, a
    // table that runs to the end of the text taken as complete (the designer writes no "}"), and,
    // while the text holds no table, the table in `pending`, the designer's component text that has
    // not been put into the code yet.
    void followDesignerCode(QPlainTextEdit *pending);

    // Follows the table under the caret of the source, if the caret stands in one; reads again.
    void followTableAtCaret();

    // The folder that relative picture paths of the table start from; the working folder by default.
    void setPictureFolder(const QString &folder);

    // Reads the followed table again and redraws at once (edits of the source do it by themselves).
    void refresh();

    // The dialog's client area, whose children are the drawn controls (named "control_<id>").
    QWidget *dialogClient() const { return m_client; }
    QListWidget *problemList() const { return m_problems; }
    QLabel *statusLabel() const { return m_status; }
    // The name of the followed table; empty before one was found.
    QString followedName() const { return m_followedName; }
    const DialogTable::DialogModel &model() const { return m_model; }
    ScriptMemo *source() const { return m_source; }
    // The severity of each listed problem is kept under this role of its item.
    static constexpr int kSeverityRole = Qt::UserRole + 1;

    // How long after an edit the preview reads the text again.
    static constexpr int kRereadDelayMs = 150;
    // How far, in lines, from where it was last seen the followed table is sought by its name.
    static constexpr int kNameSearchReach = 5000;
    // Lines of a table drawn at most, so that a huge table does not stall the editor on every edit.
    static constexpr int kMaxDrawnControls = 400;

signals:
    // A problem was clicked: the caret of the text that holds the table has been put at the start of
    // that line (from 0), and the keyboard is there.
    void problemLineChosen(int line);

private:
    void sourceChanged();
    void sourceDestroyed();
    std::optional<DialogTable::Span> followedSpan() const;
    bool showPendingTable();
    void showTable(const DialogTable::DialogModel &model);
    void showNoTable(const QString &why);
    void buildDialog();
    QWidget *buildTitleBar(QWidget *frame);
    void buildMenuBar(QWidget *frame, QVBoxLayout *layout);
    void buildControls();
    void buildTabControl(int first);
    void showTabPage(int tabControl, int pageIndex);
    void listProblems(const QList<DialogChecks::Problem> &problems);
    void problemClicked(QListWidgetItem *item);
    void putCaretOnLine(int line);
    QSize clientSize() const;

    QPointer<ScriptMemo> m_source;
    QTimer m_rereadTimer;
    QString m_pictureFolder;

    QString m_followedName;
    bool m_following = false;
    bool m_designerCode = false;
    QPointer<QPlainTextEdit> m_pending;
    bool m_showingPending = false;
    int m_lastHeaderLine = 0;
    DialogTable::DialogModel m_model;

    QScrollArea *m_canvas = nullptr;
    QWidget *m_client = nullptr;
    QListWidget *m_problems = nullptr;
    QLabel *m_status = nullptr;
    std::unique_ptr<QStyle> m_classicStyle; // the look of "option notheme"

    // Widgets drawn for the controls, by index in the model; null where nothing is drawn.
    QList<QWidget *> m_widgets;
    bool m_drawnAll = true;
    // The page shown by each tab control, kept across redraws (by the id of its first page).
    QHash<int, int> m_shownPages;
};

// Opens a preview of the dialog table under the caret of `source`, as a tool window of `owner`; where
// `owner` has one open for that text already, that one comes to the front instead.
DialogPreviewWindow *showDialogPreview(ScriptMemo *source, QWidget *owner);
