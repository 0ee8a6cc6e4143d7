// The touch keyboard, in a window with a field that has the focus: what a
// tap types, that the focus stays in the field, touch and mouse alike.

#include "screens/keyboard.h"
#include "support/ui/screens_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointingDevice>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <functional>
#include <memory>

using zelk::OnScreenKeyboard;

namespace {

// Every caption of the main layer; "Shift" stands twice on the keyboard.
const QStringList kMainCaptions = [] {
    QStringList out;
    for (const QChar c : QStringLiteral("1234567890ßqwertzuiopü+asdfghjklöä#yxcvbnm,.-@:/?=&~"))
        out << QString(c);
    out << QStringLiteral("Shift") << QStringLiteral("Backspace") << QStringLiteral("Space")
        << QStringLiteral("Enter");
    return out;
}();

class KeyboardTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { zelktest::ensureGuiApp(); }

    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(1280, 480);
        edit = new QLineEdit(window.get());
        edit->setGeometry(8, 8, 600, 60);
        keyboard = new OnScreenKeyboard(window.get());
        keyboard->setGeometry(8, 100, 1264, 369);
        showAndFocus(edit);
    }

    // Shows the window and gives `w` the keyboard focus, remembering which
    // widget holds it then (a spin box hands it to its editor).
    void showAndFocus(QWidget* w)
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        w->setFocus();
        focused = QApplication::focusWidget();
        ASSERT_TRUE(focused);
    }

    QPoint centre(const QString& caption) const
    {
        const QRect r = keyboard->keyRect(caption);
        EXPECT_FALSE(r.isEmpty()) << "no key shows " << caption.toStdString();
        return r.center();
    }

    // A mouse click on the key that shows `caption` now.
    void tap(const QString& caption)
    {
        QTest::mouseClick(keyboard, Qt::LeftButton, {}, centre(caption));
        EXPECT_EQ(QApplication::focusWidget(), focused) << "after " << caption.toStdString();
    }

    // Types `text` key by key, with Shift first where the character stands
    // on the shifted layer only.
    void type(const QString& text)
    {
        for (const QChar c : text) {
            const QString caption = c == u' ' ? QStringLiteral("Space") : QString(c);
            if (keyboard->keyRect(caption).isEmpty())
                tap(QStringLiteral("Shift"));
            tap(caption);
        }
    }

    std::unique_ptr<QWidget> window;
    QLineEdit* edit = nullptr;
    OnScreenKeyboard* keyboard = nullptr;
    QWidget* focused = nullptr;
};

TEST_F(KeyboardTest, TypesTextIntoTheFocusedField)
{
    const struct
    {
        const char* name;
        QString text;
    } cases[] = {
        {"letters", QStringLiteral("zelkradio")},
        {"digits", QStringLiteral("1234567890")},
        {"umlauts", QStringLiteral("üöäß")},
        {"address", QStringLiteral("http://a.b/c?d=1&e=2#f")},
        {"every address symbol", QStringLiteral(":/.-_?=&%#@~+")},
        {"capitals and space", QStringLiteral("Zelk Radio")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        edit->clear();
        type(c.text);
        EXPECT_EQ(edit->text(), c.text);
        EXPECT_FALSE(keyboard->isShifted());
    }
}

TEST_F(KeyboardTest, ShiftActsOnTheNextKeyOnly)
{
    const QRect a = keyboard->keyRect(QStringLiteral("a"));
    tap(QStringLiteral("Shift"));
    EXPECT_TRUE(keyboard->isShifted());
    // The captions change with the layer.
    EXPECT_TRUE(keyboard->keyRect(QStringLiteral("a")).isEmpty());
    EXPECT_EQ(keyboard->keyRect(QStringLiteral("A")), a);
    EXPECT_TRUE(keyboard->keyRect(QStringLiteral("1")).isEmpty());
    tap(QStringLiteral("A"));
    EXPECT_FALSE(keyboard->isShifted());
    tap(QStringLiteral("a"));
    EXPECT_EQ(edit->text(), QStringLiteral("Aa"));

    // Shift twice is shift off; a shifted digit key gives its symbol.
    tap(QStringLiteral("Shift"));
    tap(QStringLiteral("Shift"));
    tap(QStringLiteral("b"));
    tap(QStringLiteral("Shift"));
    tap(QStringLiteral("!"));
    tap(QStringLiteral("1"));
    EXPECT_EQ(edit->text(), QStringLiteral("Aab!1"));
}

TEST_F(KeyboardTest, BackspaceSpaceAndEnter)
{
    QSignalSpy returns(edit, &QLineEdit::returnPressed);
    type(QStringLiteral("abc"));
    tap(QStringLiteral("Backspace"));
    tap(QStringLiteral("Backspace"));
    tap(QStringLiteral("Space"));
    tap(QStringLiteral("d"));
    EXPECT_EQ(edit->text(), QStringLiteral("a d"));
    EXPECT_EQ(returns.count(), 0);
    tap(QStringLiteral("Enter"));
    EXPECT_EQ(returns.count(), 1);
    EXPECT_EQ(edit->text(), QStringLiteral("a d"));
}

TEST_F(KeyboardTest, ADoubleTapTypesTwice)
{
    // The second press of a double click comes as a press followed by a
    // double-click event, or (older platforms) as the double-click alone.
    for (const bool secondPress : {true, false}) {
        SCOPED_TRACE(secondPress ? "press and double click" : "double click alone");
        edit->clear();
        const QPoint l = centre(QStringLiteral("l"));
        QTest::mouseClick(keyboard, Qt::LeftButton, {}, l);
        if (secondPress)
            QTest::mousePress(keyboard, Qt::LeftButton, {}, l);
        QTest::mouseDClick(keyboard, Qt::LeftButton, {}, l);
        QTest::mouseRelease(keyboard, Qt::LeftButton, {}, l);
        EXPECT_EQ(edit->text(), QStringLiteral("ll"));
    }
}

TEST_F(KeyboardTest, AKeyActsOnlyWhenReleasedOnIt)
{
    const struct
    {
        const char* name;
        QStringList path; // pressed on the first key, moved over the others, released on the last
        QString expected;
    } cases[] = {
        {"released on another key", {QStringLiteral("a"), QStringLiteral("s")}, {}},
        {"moved off and back",
         {QStringLiteral("a"), QStringLiteral("s"), QStringLiteral("a")},
         QStringLiteral("a")},
        {"shift released elsewhere", {QStringLiteral("Shift"), QStringLiteral("y")}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        edit->clear();
        QTest::mousePress(keyboard, Qt::LeftButton, {}, centre(c.path.first()));
        for (const QString& over : c.path.mid(1))
            QTest::mouseMove(keyboard, centre(over));
        QTest::mouseRelease(keyboard, Qt::LeftButton, {}, centre(c.path.last()));
        EXPECT_EQ(edit->text(), c.expected);
        EXPECT_FALSE(keyboard->isShifted());
        EXPECT_EQ(QApplication::focusWidget(), focused);
    }
}

TEST_F(KeyboardTest, TouchTypesWithOneOrTwoFingers)
{
    // Sent to the window: for a child widget, which has no window handle of
    // its own, Qt 6.4's test sequences drop the points.
    QPointingDevice* screen = QTest::createTouchDevice();
    const auto touch = [&] { return QTest::touchEvent(window.get(), screen); };
    touch().press(0, centre(QStringLiteral("k")), keyboard);
    touch().release(0, centre(QStringLiteral("k")), keyboard);
    EXPECT_EQ(edit->text(), QStringLiteral("k"));

    // A second finger types while the first still holds its key.
    touch().press(0, centre(QStringLiteral("o")), keyboard);
    touch().stationary(0).press(1, centre(QStringLiteral("m")), keyboard);
    touch().stationary(0).release(1, centre(QStringLiteral("m")), keyboard);
    touch().release(0, centre(QStringLiteral("o")), keyboard);
    EXPECT_EQ(edit->text(), QStringLiteral("kmo"));

    // A finger that slides off its key types nothing.
    touch().press(0, centre(QStringLiteral("p")), keyboard);
    touch().move(0, centre(QStringLiteral("l")), keyboard);
    touch().release(0, centre(QStringLiteral("l")), keyboard);
    EXPECT_EQ(edit->text(), QStringLiteral("kmo"));
    EXPECT_EQ(QApplication::focusWidget(), focused);
}

TEST_F(KeyboardTest, TypesIntoOtherEditors)
{
    const struct
    {
        const char* name;
        std::function<QWidget*(QWidget*)> make;
        QString keys;
        std::function<QString(QWidget*)> result;
        QString expected;
    } cases[] = {
        {"spin box",
         [](QWidget* parent) {
             auto* s = new QSpinBox(parent);
             s->setRange(0, 999);
             s->clear();
             return s;
         },
         QStringLiteral("42"),
         [](QWidget* w) { return QString::number(static_cast<QSpinBox*>(w)->value()); },
         QStringLiteral("42")},
        {"editable combo box",
         [](QWidget* parent) {
             auto* c = new QComboBox(parent);
             c->setEditable(true);
             return c;
         },
         QStringLiteral("a.b/c"),
         [](QWidget* w) { return static_cast<QComboBox*>(w)->itemText(0); },
         QStringLiteral("a.b/c")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget* editor = c.make(window.get());
        editor->setGeometry(620, 8, 300, 60);
        editor->show();
        showAndFocus(editor);
        type(c.keys);
        // Enter commits: the spin box takes its value, the combo box adds
        // the text as an item.
        tap(QStringLiteral("Enter"));
        EXPECT_EQ(c.result(editor), c.expected);
        EXPECT_TRUE(edit->text().isEmpty());
        delete editor;
    }
}

TEST_F(KeyboardTest, KeysFollowTheWidgetsSize)
{
    for (const QSize size : {QSize(1264, 369), QSize(1904, 369), QSize(1000, 300)}) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
        window->resize(size.width() + 16, size.height() + 120);
        keyboard->resize(size);
        QList<QRect> rects;
        for (const QString& caption : kMainCaptions) {
            const QRect r = keyboard->keyRect(caption);
            EXPECT_TRUE(keyboard->rect().contains(r)) << caption.toStdString();
            for (const QRect& other : rects)
                EXPECT_FALSE(r.intersects(other)) << caption.toStdString();
            rects << r;
        }
        // The rows span the width: backspace and enter end near the right
        // edge, the digit 1 and shift start near the left one.
        const int edge = size.width() / 50;
        EXPECT_GT(keyboard->keyRect(QStringLiteral("Backspace")).right(), size.width() - edge);
        EXPECT_GT(keyboard->keyRect(QStringLiteral("Enter")).right(), size.width() - edge);
        EXPECT_LT(keyboard->keyRect(QStringLiteral("1")).left(), edge);
        EXPECT_LT(keyboard->keyRect(QStringLiteral("Shift")).left(), edge);
        EXPECT_GT(keyboard->keyRect(QStringLiteral("Space")).bottom(), size.height() * 9 / 10);
        edit->clear();
        type(QStringLiteral("Ok?"));
        EXPECT_EQ(edit->text(), QStringLiteral("Ok?"));
    }
}

TEST_F(KeyboardTest, AHeldKeyLooksPressed)
{
    const QRect key = keyboard->keyRect(QStringLiteral("g"));
    const QImage before = keyboard->grab().toImage().copy(key);
    QTest::mousePress(keyboard, Qt::LeftButton, {}, key.center());
    const QImage held = keyboard->grab().toImage().copy(key);
    QTest::mouseRelease(keyboard, Qt::LeftButton, {}, key.center());
    const QImage after = keyboard->grab().toImage().copy(key);
    EXPECT_NE(held, before);
    EXPECT_EQ(after, before);
}

TEST(KeyboardWindowTest, AsAWindowOfItsOwnItNeverTakesTheActivation)
{
    zelktest::ensureGuiApp();
    OnScreenKeyboard keyboard;
    keyboard.resize(1264, 369);
    keyboard.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&keyboard));
    // What keeps a window manager from activating it on a click or on show.
    EXPECT_TRUE(keyboard.windowHandle()->flags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(keyboard.testAttribute(Qt::WA_ShowWithoutActivating));

    // The offscreen platform activates every window it shows, flags or not:
    // the field's window comes second.
    QLineEdit field;
    field.show();
    field.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&field));
    field.setFocus();
    QTest::mouseClick(&keyboard, Qt::LeftButton, {},
                      keyboard.keyRect(QStringLiteral("x")).center());
    EXPECT_EQ(field.text(), QStringLiteral("x"));
    EXPECT_EQ(QApplication::activeWindow(), &field);
    EXPECT_EQ(QApplication::focusWidget(), &field);
}

} // namespace
