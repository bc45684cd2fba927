#pragma once

#include <QString>
#include <QStringList>

// Lines of a text read one at a time, so that readers of script text need not copy a large
// document: an editor's text, or a plain list of lines.
class LineSource {
public:
    virtual ~LineSource() = default;
    virtual int lineCount() const = 0;
    // Line i without its line break; 0 <= i < lineCount().
    virtual QString line(int i) const = 0;
};

// A LineSource over a list of lines held elsewhere.
class StringListLines : public LineSource {
public:
    explicit StringListLines(const QStringList &lines) : m_lines(lines) { }
    int lineCount() const override { return int(m_lines.count()); }
    QString line(int i) const override { return m_lines[i]; }

private:
    const QStringList &m_lines;
};
