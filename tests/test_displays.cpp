// Placement on the displays: this program configures its own offscreen
// displays before the application starts.

#include "support/ui/screens_fixture.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryFile>

using namespace zelk;
using namespace zelktest;

namespace {

// Two displays side by side: a 1920-wide primary and a 1280x720 one right
// of it, where the head unit belongs.
void configureDisplays()
{
    static QTemporaryFile config;
    if (!config.open())
        return;
    config.write(R"({"screens":[
        {"name":"Main","x":0,"y":0,"width":1920,"height":1080},
        {"name":"HeadUnit","x":1920,"y":0,"width":1280,"height":720}]})");
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
}

} // namespace

class DisplayTest : public ScreensTest
{
protected:
    static void SetUpTestSuite()
    {
        configureDisplays();
        ensureGuiApp();
    }
};

TEST_F(DisplayTest, OpensOnTheDisplayAtX1920AndEveryScreenFollows)
{
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    const QRect second(1920, 0, 1280, 720);
    boot();
    EXPECT_EQ(f1->geometry(), second);
    EXPECT_EQ(f1->screen()->geometry(), second);
    for (Screen* s : std::initializer_list<Screen*>{f2, f3, f5})
        EXPECT_EQ(s->geometry(), second);
    unit->but_goto_menu();
    EXPECT_EQ(f2->geometry(), second);
    EXPECT_EQ(f2->screen()->geometry(), second);
}
