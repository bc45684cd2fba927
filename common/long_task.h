#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

// A busy cursor for the length of a file load or save, and a modal progress indication once it has
// run for half a second. The window keeps repainting while the work goes on between steps.
class LongTask {
public:
    LongTask(QWidget *parent, const QString &label);
    ~LongTask();
    LongTask(const LongTask &) = delete;
    LongTask &operator=(const LongTask &) = delete;

    // Called between pieces of the work.
    void step(qint64 done, qint64 total);

    // True while a load or save is under way; windows refuse to close meanwhile, so no file is left
    // half-read into a window or a save cut short.
    static bool running() { return s_running > 0; }

private:
    QPointer<QWidget> m_parent;
    QString m_label;
    QProgressDialog *m_dialog = nullptr;
    QElapsedTimer m_clock;
    static inline int s_running = 0;
};
