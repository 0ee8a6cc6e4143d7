#pragma once
// The real platform services of the running program.

#include "platform/services.h"

#include <functional>

class QWidget;

namespace zelk {

// Message boxes in the head unit's look, over the screen that is in front.
class WidgetDialogs : public Dialogs
{
public:
    void setParentSource(std::function<QWidget*()> source) { m_parent = std::move(source); }
    void information(const QString& text) override;
    void error(const QString& text) override;

private:
    QWidget* parent() const { return m_parent ? m_parent() : nullptr; }
    std::function<QWidget*()> m_parent;
};

Services desktopServices(std::shared_ptr<WidgetDialogs> dialogs);

} // namespace zelk
