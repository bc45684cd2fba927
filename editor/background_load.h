#pragma once

#include "editor/script_file.h"
#include "editor/text_buffer.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>

class QThread;

// Reads a large script file and makes its text ready on a thread of its own, so that the windows
// stay usable while it goes on. Freeing it stops the work and waits for the thread.
class BackgroundLoad : public QObject {
    Q_OBJECT
public:
    // Reads the file in the encoding given, or else in the one its bytes show.
    BackgroundLoad(const QString &path, std::optional<ScriptEncoding> encoding, QObject *parent);
    ~BackgroundLoad() override;

    // How far it has come, 0 to 100.
    int percent() const;
    // The text, once finished() told it is ready; where UTF-8 was asked for bytes that are not, it
    // tells where they stop being UTF-8.
    TextBuffer::Prepared takeText() { return std::move(m_shared->text); }

signals:
    // Every tenth of a second while it goes on.
    void progressed(int percent);
    // The work is over: error is ReadError::None when the text is ready.
    void finished(ScriptFile::ReadError error);

private:
    struct Shared {
        std::atomic<qint64> done{0};
        std::atomic<qint64> total{1};
        std::atomic<bool> cancelled{false};
        ScriptFile::ReadError error = ScriptFile::ReadError::None;
        TextBuffer::Prepared text;
    };
    std::shared_ptr<Shared> m_shared;
    QThread *m_thread = nullptr;
    QTimer m_progressTimer;
};
