#pragma once
// A private X display for tests that drive the real program with real
// input: an Xvfb server on a free display number, and xdotool against it.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace zelktest {

class XvfbDisplay
{
public:
    // Starts Xvfb with one screen of `size` ("1280x720x24").
    explicit XvfbDisplay(const QString& size = QStringLiteral("1280x720x24"));
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool running() const { return m_process.state() == QProcess::Running && !m_name.isEmpty(); }
    // ":N"
    QString name() const { return m_name; }

    // Runs xdotool with `args` on this display; its output, trimmed.
    QString xdotool(const QStringList& args, bool* ok = nullptr) const;
    // The visible window of the program `windowClass`, focused for keys;
    // empty when none shows within the time.
    QString focusWindow(const QString& windowClass, int timeoutMs = 20000) const;
    bool key(const QString& keyName) const;
    // Saves the whole screen as PNG.
    bool screenshot(const QString& path) const;

private:
    QProcess m_process;
    QString m_name;
};

} // namespace zelktest
