#pragma once

#include "editor/find_replace.h"

#include <QMdiSubWindow>
#include <QPointer>

#include <functional>
#include <optional>

class FindDialog;
class QLabel;
class QStatusBar;
class ReplaceDialog;
class ScriptAssist;
class ScriptMemo;
class SearchDialog;

// The script editor window: one script's text, a status bar of position, state and name, and
// beside it the panel that names the text's encoding.
class TForm2 : public QMdiSubWindow {
    Q_OBJECT
public:
    // How the window's text is saved when the user answers Yes to the close question ("Сохранить"
    // of the main window): false when the user cancelled; throws when the write failed.
    using SaveStep = std::function<bool(TForm2 *)>;

    explicit TForm2(SaveStep save = {}, QWidget *parent = nullptr);
    ~TForm2() override;

    ScriptMemo *Memo1 = nullptr;
    // Colours, brackets, completion and syntax tips of mIRC script over Memo1.
    ScriptAssist *Assist = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    // "Windows-1251", "UTF-8" or "UTF-8 с BOM", at the right end of the status row.
    QLabel *EncodingPanel = nullptr;
    // This window's own find and replace dialogs; they always act on Memo1.
    FindDialog *FindDialog1 = nullptr;
    ReplaceDialog *ReplaceDialog1 = nullptr;

    // True while this window is the active child of the main window's document area.
    bool Active() const;
    // False once the window has accepted its close and is about to be freed.
    bool isOpen() const { return !m_closing; }

    QString panelText(int panel) const;

    // Whether the text changed since it was last loaded or written (unlike Modified, which
    // "Сохранить" leaves set). Closing such a window asks first.
    bool hasUnsavedChanges() const { return m_unsavedChanges; }
    void markSaved() { m_unsavedChanges = false; }

    // The file the text was opened from or last saved to, which "Сохранить" writes; empty for a new
    // script. The window's caption and name panel show it.
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName);

    // Asks about unsaved text before the window goes; true when it may close.
    bool confirmClose();
    void forgetCloseAnswer() { m_closeConfirmed = false; }

    void Memo1Change(); // after every change of the text: caret position, state and caption into the panels
    void FormActivate(); // on activation: the caption into panel 2
    void FindDialog1Find(); // the find dialog's Find Next
    void ReplaceDialog1Find(); // the replace dialog's Find Next
    void ReplaceDialog1Replace(); // the replace dialog's Replace and Replace All

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // A status panel's text, which is also its accessible description.
    void setPanelText(int panel, const QString &text);
    void showEncoding();
    void selectFound(const std::optional<FindReplace::Selection> &found, SearchDialog *dialog);

    QLabel *m_panels[3] = {};
    QLabel *m_plainNote = nullptr; // says why a large text is shown without colours
    bool m_unsavedChanges = false;
    bool m_closeConfirmed = false;
    bool m_closing = false;
    QString m_fileName;
    SaveStep m_save;
};

// The current editor: the window that editing commands, palettes, wizards and the designer write into.
extern QPointer<TForm2> Form2;
