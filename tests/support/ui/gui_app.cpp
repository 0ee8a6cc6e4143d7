#include "support/ui/screens_fixture.h"

#include <QApplication>

namespace zelktest {

void ensureGuiApp()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zelk-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: a QApplication torn down among the static destructors
    // at exit crashes in its font cache, whose thread storage is gone.
    static QApplication* app = new QApplication(argc, argv);
    Q_UNUSED(app);
}

} // namespace zelktest
