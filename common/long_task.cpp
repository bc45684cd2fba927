#include "common/long_task.h"

#include <QApplication>
#include <QProgressDialog>

namespace {

constexpr qint64 kShowAfterMs = 500;

} // namespace

LongTask::LongTask(QWidget *parent, const QString &label) : m_parent(parent), m_label(label)
{
    ++s_running;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_clock.start();
}

LongTask::~LongTask()
{
    delete m_dialog;
    QApplication::restoreOverrideCursor();
    --s_running;
}

void LongTask::step(qint64 done, qint64 total)
{
    if (!m_dialog && m_clock.elapsed() >= kShowAfterMs && done < total) {
        // Modal, without a cancel button: nothing else can touch the text while it is loaded or written.
        m_dialog = new QProgressDialog(m_label, QString(), 0, 1000, m_parent);
        m_dialog->setWindowTitle(QStringLiteral("Orl"));
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->show();
    }
    if (m_dialog) {
        m_dialog->setValue(total > 0 ? int(done * 1000 / total) : 1000);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}
