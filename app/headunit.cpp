#include "app/headunit.h"

#include "screens/Unit1.h"
#include "screens/Unit2.h"
#include "screens/Unit3.h"
#include "screens/Unit5.h"

#include <QApplication>
#include <QKeyEvent>

namespace zelk {

HeadUnit::HeadUnit(Services services, const QString& dataDir)
{
    auto quit = services.quit;
    Form1 = new TForm1(std::move(services), dataDir);
    Form1->show();
    Form2 = new TForm2(Form1);
    Form3 = new TForm3(Form1, Form2);
    Form5 = new TForm5(Form1, Form2);
    Form1->attach(Form2, Form3, Form5);
    Form2->attach(Form3, Form5);

    // Closing any screen stops every timer and ends the program.
    Form1->setCloseHandler([this, quit] {
        Form1->stopanytimer();
        quit();
    });
    for (Screen* s : {static_cast<Screen*>(Form2), static_cast<Screen*>(Form3),
                      static_cast<Screen*>(Form5)})
        s->setCloseHandler([this, quit] {
            Form1->stopanytimer();
            quit();
        });
    qApp->installEventFilter(this);
}

HeadUnit::~HeadUnit()
{
    qApp->removeEventFilter(this);
    Form1->stopanytimer();
    delete Form5;
    delete Form3;
    delete Form2;
    delete Form1;
}

bool HeadUnit::routeHotKey(QWidget* window, int key)
{
    bool handled = false;
    auto run = [&](Screen* screen, auto&& op) { screen->guarded([&] { handled = op(); }); };
    if (window == Form2)
        run(Form2, [&] { return Form2->hotKey(key); });
    else if (window == Form3)
        run(Form3, [&] { return Form3->hotKey(key); });
    if (!handled)
        run(Form1, [&] { return Form1->hotKey(key); });
    return handled;
}

bool HeadUnit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() < Qt::Key_F1 || key->key() > Qt::Key_F12 || key->isAutoRepeat())
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    QWidget* window = widget->window();
    if (window != Form1 && window != Form2 && window != Form3 && window != Form5)
        return false;
    return routeHotKey(window, key->key());
}

} // namespace zelk
