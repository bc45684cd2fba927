#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// The one way the program asks the user something modally: file dialogs and message boxes.
// Tests install a Responder that answers without a display.
namespace Dialogs {

enum class Icon { Information, Question, Error, Warning };
enum class Button { Ok, Yes, No, Cancel };

struct Message {
    QWidget *parent = nullptr;
    Icon icon = Icon::Information;
    QString caption;
    QString text;
    QList<Button> buttons{Button::Ok};
};

// A file dialog. Filters are given as "Description|pattern|Description|pattern|...".
struct FileRequest {
    enum class Kind { Open, Save, OpenPicture };
    Kind kind = Kind::Open;
    QWidget *parent = nullptr;
    QString fileName;
    QString filter;
    int filterIndex = 0;
    // The folder the dialog shows first, where fileName names none; empty for the toolkit's choice.
    QString directory;
};

struct FileAnswer {
    bool accepted = false;
    QString fileName;
    int filterIndex = 0;
};

class Responder {
public:
    virtual ~Responder() = default;
    virtual Button message(const Message &request) = 0;
    virtual FileAnswer file(const FileRequest &request) = 0;
};

// nullptr restores the real dialogs.
void setResponder(Responder *responder);

// The first button is the one Enter presses, unless another one is named.
Button ask(const Message &request);
Button ask(const Message &request, Button defaultButton);
// A save dialog's answer that names an existing file is confirmed first: No goes back to the dialog.
FileAnswer chooseFile(const FileRequest &request);

// The error box: the text as given, an error icon, OK, the application's title as caption.
void showError(const QString &text);

// The information box with one OK button.
void showInformation(QWidget *parent, const QString &caption, const QString &text);

// The caption of a file dialog of that kind.
QString fileDialogCaption(FileRequest::Kind kind);

// "Desc|pat|Desc|pat" to the name filters a Qt file dialog takes.
QStringList nameFilters(const QString &filter);

inline const QString kApplicationTitle = QStringLiteral("Orl");

} // namespace Dialogs
