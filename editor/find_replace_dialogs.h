#pragma once

#include "common/field_text.h"
#include "editor/find_replace.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

// What the find and the replace dialog share: the text to find, the match-case and whole-word
// options, Find Next and the button that closes the dialog. Modeless; it belongs to one editor
// window, which handles its events.
class SearchDialog : public QDialog {
    Q_OBJECT
public:
    // The text to find as the editor's text would hold it: in a Windows-1251 text, each character
    // it lacks as one "?".
    QString FindText() const;
    // Cut to the field's 255 characters.
    void setFindText(const QString &text);

    virtual FindReplace::Options Options() const;

    // Shows the dialog, or brings it to the front when it is open already.
    void Execute();

    // Which characters the fields keep: those the editor's text holds, as the source tells.
    void setRepertoire(const std::function<FieldText::Repertoire()> &source) { m_repertoire = source; }
    FieldText::Repertoire repertoire() const;

    QLineEdit *FindEdit = nullptr;
    QCheckBox *WholeWordBox = nullptr;
    QCheckBox *MatchCaseBox = nullptr;
    QPushButton *FindNextButton = nullptr;
    QPushButton *CloseButton = nullptr;

signals:
    // Find Next was pressed.
    void Find();

protected:
    explicit SearchDialog(QWidget *owner);
    QLineEdit *newField();

    // Rows of labelled fields and the options on the left, buttons on the right.
    QGridLayout *m_fields = nullptr;
    QGridLayout *m_options = nullptr;
    QVBoxLayout *m_buttons = nullptr;

private:
    std::function<FieldText::Repertoire()> m_repertoire;
};

// The find dialog: adds the search direction.
class FindDialog : public SearchDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget *owner);

    FindReplace::Options Options() const override;

    QRadioButton *UpButton = nullptr;
    QRadioButton *DownButton = nullptr;
};

// The replace dialog: adds the replacement text, Replace and Replace All. It searches downward.
class ReplaceDialog : public SearchDialog {
    Q_OBJECT
public:
    explicit ReplaceDialog(QWidget *owner);

    QString ReplaceText() const;
    void setReplaceText(const QString &text);

    // True while the replace event comes from Replace All.
    bool replaceAllChosen() const { return m_replaceAll; }

    QLineEdit *ReplaceEdit = nullptr;
    QPushButton *ReplaceButton = nullptr;
    QPushButton *ReplaceAllButton = nullptr;

signals:
    // Replace or Replace All was pressed.
    void Replace();

private:
    bool m_replaceAll = false;
};
