#pragma once

#include <QObject>
#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

// Failures of a handler: an error with a message for the error box, or the silent abort.
class OrlError : public std::exception {
public:
    explicit OrlError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) { }
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

class SilentAbort : public std::exception {
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};

// The error box's text: the message, with a full stop added unless it is empty or
// its last character's code is not above that of the full stop.
QString errorBoxText(const QString &message);

// Runs a handler to completion; whatever it throws is shown in the error box (or, for the
// silent abort, not at all) and the program carries on, as the message loop would have it.
void runGuarded(const std::function<void()> &handler);

template <typename Fn>
void runGuarded(Fn &&handler)
    requires(!std::is_same_v<std::decay_t<Fn>, std::function<void()>>)
{
    runGuarded(std::function<void()>(std::forward<Fn>(handler)));
}

// Connects a signal to a handler that runs through the guard. Arguments of the signal are
// passed on to the handler when it takes them.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection onSignal(Sender *sender, Signal signal, const QObject *context, Handler handler)
{
    return QObject::connect(sender, signal, context, [handler](auto &&...args) {
        runGuarded([&] {
            if constexpr (std::is_invocable_v<Handler, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        });
    });
}
