#pragma once

#include <QFile>
#include <QStringList>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

// Reading and writing whole files in tests.
namespace TestFiles {

// The file's bytes, or "<unreadable>".
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Writes the bytes whole, failing the test where it cannot.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Paths that are not regular files and whose reading would never end: a FIFO made at the path
// given (opening it waits for a writer) and a device that reads without end. None where the system
// has neither.
inline QStringList endlessPaths(const QString &fifoPath)
{
#ifdef Q_OS_UNIX
    if (::mkfifo(QFile::encodeName(fifoPath).constData(), 0600) != 0)
        return {};
    return {fifoPath, QStringLiteral("/dev/zero")};
#else
    Q_UNUSED(fifoPath);
    return {};
#endif
}

} // namespace TestFiles
