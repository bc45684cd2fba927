#include "scripted_dialogs.h"

ScriptedDialogs::ScriptedDialogs()
{
    Dialogs::setResponder(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    Dialogs::setResponder(nullptr);
}

QStringList ScriptedDialogs::errors() const
{
    QStringList texts;
    for (const Dialogs::Message &m : messages) {
        if (m.icon == Dialogs::Icon::Error)
            texts.append(m.text);
    }
    return texts;
}

void ScriptedDialogs::clear()
{
    messages.clear();
    fileRequests.clear();
    buttonAnswers.clear();
    fileAnswers.clear();
}

Dialogs::Button ScriptedDialogs::message(const Dialogs::Message &request)
{
    messages.append(request);
    if (!buttonAnswers.isEmpty())
        return buttonAnswers.takeFirst();
    return request.buttons.isEmpty() ? Dialogs::Button::Ok : request.buttons.last();
}

Dialogs::FileAnswer ScriptedDialogs::file(const Dialogs::FileRequest &request)
{
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? Dialogs::FileAnswer{} : fileAnswers.takeFirst();
}
