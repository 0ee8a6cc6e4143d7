#include "support/ui/screens_fixture.h"

#include <QApplication>

#include <unistd.h>

namespace zelktest {

void ensureGuiApp()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The web engine refuses to start as root unless its sandbox is off.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    static int argc = 1;
    static char name[] = "zelk-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: a QApplication torn down among the static destructors
    // at exit crashes in its font cache, whose thread storage is gone.
    static QApplication* app = new QApplication(argc, argv);
    Q_UNUSED(app);
}

} // namespace zelktest
