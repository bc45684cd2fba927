#pragma once

#include "common/dialog_seam.h"

#include <QList>
#include <QStringList>

// Answers the program's dialogs without a display, from queues the test fills, and records
// every question asked. Installs itself for its lifetime.
class ScriptedDialogs : public Dialogs::Responder {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Answers for message boxes, in order; with none left a box is answered with its last button.
    QList<Dialogs::Button> buttonAnswers;
    // Answers for file dialogs, in order; with none left a file dialog is cancelled.
    QList<Dialogs::FileAnswer> fileAnswers;

    QList<Dialogs::Message> messages;
    QList<Dialogs::FileRequest> fileRequests;

    void chooseFile(const QString &path, int filterIndex = 0) { fileAnswers.append(Dialogs::FileAnswer{true, path, filterIndex}); }
    void cancelFile() { fileAnswers.append(Dialogs::FileAnswer{}); }
    void answer(Dialogs::Button button) { buttonAnswers.append(button); }

    // Texts of the error boxes shown so far.
    QStringList errors() const;
    void clear();

    Dialogs::Button message(const Dialogs::Message &request) override;
    Dialogs::FileAnswer file(const Dialogs::FileRequest &request) override;
};
