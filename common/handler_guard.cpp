#include "common/handler_guard.h"

#include "common/dialog_seam.h"

QString errorBoxText(const QString &message)
{
    if (message.isEmpty() || message.back().unicode() <= u'.')
        return message;
    return message + QLatin1Char('.');
}

void runGuarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const SilentAbort &) {
    } catch (const OrlError &error) {
        Dialogs::showError(errorBoxText(error.message()));
    } catch (const std::exception &error) {
        Dialogs::showError(errorBoxText(QString::fromLocal8Bit(error.what())));
    } catch (...) {
        Dialogs::showError(QString());
    }
}
