#include "editor/background_load.h"

#include <QThread>

BackgroundLoad::BackgroundLoad(const QString &path, std::optional<ScriptEncoding> encoding, QObject *parent)
    : QObject(parent), m_shared(std::make_shared<Shared>())
{
    // Reading is the first half of the way, making the text ready (its encoding found or checked
    // on the way) the second.
    m_thread = QThread::create([shared = m_shared, path, encoding] {
        const auto cancelled = [&shared] { return shared->cancelled.load(); };
        QByteArray bytes;
        shared->error = ScriptFile::read(path, &bytes, [&shared](qint64 done, qint64 total) {
            shared->total = 2 * qMax<qint64>(1, total);
            shared->done = done;
        }, cancelled);
        if (shared->error != ScriptFile::ReadError::None)
            return;
        const qint64 half = shared->total / 2;
        const auto progress = [&shared, half](qint64 done, qint64 total) {
            shared->done = half + half * done / qMax<qint64>(1, total);
        };
        shared->text = encoding ? TextBuffer::prepare(std::move(bytes), *encoding, progress, cancelled)
                                : TextBuffer::prepare(std::move(bytes), progress, cancelled);
        if (cancelled())
            shared->error = ScriptFile::ReadError::Cancelled;
    });
    connect(m_thread, &QThread::finished, this, [this] {
        m_progressTimer.stop();
        emit finished(m_shared->error);
    });
    m_progressTimer.setInterval(100);
    connect(&m_progressTimer, &QTimer::timeout, this, [this] { emit progressed(percent()); });
    m_progressTimer.start();
    m_thread->start();
}

BackgroundLoad::~BackgroundLoad()
{
    m_shared->cancelled = true;
    m_thread->wait();
    delete m_thread;
}

int BackgroundLoad::percent() const
{
    return int(100 * m_shared->done / qMax<qint64>(1, m_shared->total));
}
