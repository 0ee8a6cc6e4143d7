#pragma once
// Values that the logic owns and the screens show. Each one notifies on
// every set, also when the value stays the same, so a screen that shows it
// is always brought back to it.

#include <QObject>
#include <QString>

namespace zelk {

class TextValue : public QObject
{
    Q_OBJECT
public:
    explicit TextValue(QString initial = {}) : m_text(std::move(initial)) {}
    const QString& text() const { return m_text; }
    void set(const QString& text)
    {
        m_text = text;
        Q_EMIT changed(m_text);
    }
    void clear() { set(QString()); }
Q_SIGNALS:
    void changed(const QString& text);

private:
    QString m_text;
};

class FlagValue : public QObject
{
    Q_OBJECT
public:
    explicit FlagValue(bool initial = false) : m_on(initial) {}
    bool on() const { return m_on; }
    void set(bool on)
    {
        m_on = on;
        Q_EMIT changed(m_on);
    }
Q_SIGNALS:
    void changed(bool on);

private:
    bool m_on;
};

class IntValue : public QObject
{
    Q_OBJECT
public:
    explicit IntValue(int initial = 0) : m_value(initial) {}
    int value() const { return m_value; }
    void set(int value)
    {
        m_value = value;
        Q_EMIT changed(m_value);
    }
Q_SIGNALS:
    void changed(int value);

private:
    int m_value;
};

} // namespace zelk
