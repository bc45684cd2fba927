#include "common/dialog_seam.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QPushButton>

#include <optional>

namespace Dialogs {
namespace {

Responder *g_responder = nullptr;

QMessageBox::Icon toQtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Warning: return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

QString buttonText(Button button)
{
    switch (button) {
    case Button::Ok: return QStringLiteral("OK");
    case Button::Yes: return QStringLiteral("&Да");
    case Button::No: return QStringLiteral("&Нет");
    case Button::Cancel: return QStringLiteral("Отмена");
    }
    return {};
}

QMessageBox::ButtonRole buttonRole(Button button)
{
    switch (button) {
    case Button::Ok: return QMessageBox::AcceptRole;
    case Button::Yes: return QMessageBox::YesRole;
    case Button::No: return QMessageBox::NoRole;
    case Button::Cancel: return QMessageBox::RejectRole;
    }
    return QMessageBox::AcceptRole;
}

Button runMessageBox(const Message &request, std::optional<Button> defaultButton)
{
    QMessageBox box(toQtIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    request.parent ? request.parent : QApplication::activeWindow());
    QList<QPair<QAbstractButton *, Button>> buttons;
    for (Button b : request.buttons)
        buttons.append({box.addButton(buttonText(b), buttonRole(b)), b});
    for (const auto &[widget, b] : buttons) {
        if (defaultButton ? b == *defaultButton : widget == buttons.first().first)
            box.setDefaultButton(qobject_cast<QPushButton *>(widget));
    }
    box.exec();
    for (const auto &[widget, b] : buttons) {
        if (box.clickedButton() == widget)
            return b;
    }
    // Closed by Escape or the close box: the cancelling answer.
    return request.buttons.contains(Button::Cancel) ? Button::Cancel
                                                     : (request.buttons.isEmpty() ? Button::Ok : request.buttons.last());
}

QString pictureFilter()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    return QStringLiteral("Все изображения|%1|Все файлы|*").arg(patterns.join(QLatin1Char(' ')));
}

FileAnswer runFileDialog(const FileRequest &request)
{
    // The desktop's own dialog where the platform offers one; Qt's otherwise. The desktop's dialog
    // takes no caption of Qt's own: every dialog is given its Russian one.
    QFileDialog dialog(request.parent ? request.parent : QApplication::activeWindow());
    dialog.setWindowTitle(fileDialogCaption(request.kind));
    if (!request.directory.isEmpty())
        dialog.setDirectory(request.directory);
    const QString filter = request.kind == FileRequest::Kind::OpenPicture && request.filter.isEmpty()
                               ? pictureFilter()
                               : request.filter;
    const QStringList filters = nameFilters(filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 0 && request.filterIndex < filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex));
    if (request.kind == FileRequest::Kind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The program asks itself, in one way for every dialog (chooseFile).
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // The script open dialog takes any name: one that names no file reaches the program, which
        // reports it in its own words.
        dialog.setFileMode(request.kind == FileRequest::Kind::Open ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {true, dialog.selectedFiles().constFirst(), int(filters.indexOf(dialog.selectedNameFilter()))};
}

} // namespace

QString fileDialogCaption(FileRequest::Kind kind)
{
    switch (kind) {
    case FileRequest::Kind::Open: return QStringLiteral("Открыть");
    case FileRequest::Kind::Save: return QStringLiteral("Сохранить как");
    case FileRequest::Kind::OpenPicture: return QStringLiteral("Открыть изображение");
    }
    return {};
}

void setResponder(Responder *responder)
{
    g_responder = responder;
}

Button ask(const Message &request)
{
    return g_responder ? g_responder->message(request) : runMessageBox(request, std::nullopt);
}

Button ask(const Message &request, Button defaultButton)
{
    return g_responder ? g_responder->message(request) : runMessageBox(request, defaultButton);
}

namespace {

bool replacesExistingFile(const FileRequest &request, const FileAnswer &answer)
{
    const QFileInfo target(answer.fileName);
    return answer.accepted && request.kind == FileRequest::Kind::Save && target.exists() && !target.isDir();
}

bool confirmReplace(const FileRequest &request, const QString &fileName)
{
    return ask({request.parent, Icon::Warning, QStringLiteral("Подтверждение замены"),
                QStringLiteral("Файл %1 уже существует.\nЗаменить его?").arg(fileName),
                {Button::Yes, Button::No}},
               Button::No)
        == Button::Yes;
}

} // namespace

FileAnswer chooseFile(const FileRequest &request)
{
    FileRequest shown = request;
    for (;;) {
        const FileAnswer answer = g_responder ? g_responder->file(shown) : runFileDialog(shown);
        if (!replacesExistingFile(shown, answer) || confirmReplace(shown, answer.fileName))
            return answer;
        // Back to the dialog with the refused name, so that another one can be picked.
        shown.fileName = answer.fileName;
        shown.filterIndex = answer.filterIndex;
    }
}

void showError(const QString &text)
{
    ask({nullptr, Icon::Error, kApplicationTitle, text, {Button::Ok}});
}

void showInformation(QWidget *parent, const QString &caption, const QString &text)
{
    ask({parent, Icon::Information, caption, text, {Button::Ok}});
}

QStringList nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        filters.append(QStringLiteral("%1 (%2)").arg(parts.at(i), patterns));
    }
    return filters;
}

} // namespace Dialogs
