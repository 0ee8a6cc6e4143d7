#pragma once
// A positional list of text lines, as the configuration and the language
// list use it: reading past the end gives "", replacing past the end does
// nothing, and a read yields at most the first 4096 characters of a line.

#include <QString>
#include <QStringList>

namespace zelk {

class LineList
{
public:
    static constexpr int kMaxReadLength = 4096;

    LineList() = default;
    explicit LineList(QStringList lines) : m_lines(std::move(lines)) {}

    QString line(int n) const
    {
        if (n < 0 || n >= m_lines.size())
            return {};
        return m_lines.at(n).left(kMaxReadLength);
    }
    void setLine(int n, const QString& text)
    {
        if (n >= 0 && n < m_lines.size())
            m_lines[n] = text;
    }
    int size() const { return static_cast<int>(m_lines.size()); }
    const QStringList& lines() const { return m_lines; }
    void replaceAll(QStringList lines) { m_lines = std::move(lines); }

private:
    QStringList m_lines;
};

} // namespace zelk
