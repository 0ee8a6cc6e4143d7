// The settings screen as a view, driven by real clicks and keys: captions of
// every screen in each shipped language, the keyboard, the controls and the
// live settings they hold, the spin-box bounds, the playlist chooser on a
// real folder, the about panel and the window size of the General save.

#include "screens/keyboard.h"
#include "screens/shellviews.h"
#include "settings/language.h"
#include "support/ui/screens_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

#include <algorithm>

using namespace zelk;
using namespace zelktest;

// Readable paths and texts in failure messages.
void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// The language line that each caption shows, on its screen.
struct CaptionLine
{
    ScreenId screen;
    const char* element;
    int line;
};
// clang-format off
const CaptionLine kCaptionLines[] = {
    {ScreenId::Form1, "Label1", 1}, {ScreenId::Form1, "sendername", 2},
    {ScreenId::Form1, "lab_cancel", 8}, {ScreenId::Form1, "lab_warning", 22},
    {ScreenId::Form1, "lab_update", 23},
    {ScreenId::Form2, "butback", 7}, {ScreenId::Form2, "lab_cancel", 8},
    {ScreenId::Form2, "lab_warning", 20}, {ScreenId::Form2, "lab_load", 21},
    {ScreenId::Form2, "aktSender", 26},
    {ScreenId::Form3, "butback", 7},
    {ScreenId::Form5, "Label14", 1}, {ScreenId::Form5, "Label16", 3},
    {ScreenId::Form5, "Label17", 4}, {ScreenId::Form5, "Label13", 5},
    {ScreenId::Form5, "aktSender", 6}, {ScreenId::Form5, "butback", 7},
    {ScreenId::Form5, "Button6", 8}, {ScreenId::Form5, "Button8", 8},
    {ScreenId::Form5, "Button9", 8}, {ScreenId::Form5, "Button11", 8},
    {ScreenId::Form5, "Button13", 8}, {ScreenId::Form5, "Button5", 9},
    {ScreenId::Form5, "Button7", 9}, {ScreenId::Form5, "Button10", 9},
    {ScreenId::Form5, "Button12", 9}, {ScreenId::Form5, "but_save_music", 9},
    {ScreenId::Form5, "programmedby", 10}, {ScreenId::Form5, "Label22", 11},
    {ScreenId::Form5, "Label27", 12}, {ScreenId::Form5, "Label18", 13},
    {ScreenId::Form5, "fullscreen_true", 14}, {ScreenId::Form5, "fullscreen_false", 15},
    {ScreenId::Form5, "Label20", 16}, {ScreenId::Form5, "but_about", 17},
    {ScreenId::Form5, "Label2", 18}, {ScreenId::Form5, "Button14", 19},
    {ScreenId::Form5, "Label15", 27}, {ScreenId::Form5, "lab_visit", 28},
    {ScreenId::Form5, "lab_close", 29}, {ScreenId::Form5, "show_music_in_title", 30},
    {ScreenId::Form5, "auto_changemode", 31}, {ScreenId::Form5, "autoplay_last", 32},
    {ScreenId::Form5, "mute_Settings", 33}, {ScreenId::Form5, "but_playlist", 34},
    {ScreenId::Form5, "Label26", 34}, {ScreenId::Form5, "onlyatreboot", 35},
    {ScreenId::Form5, "Label25", 36}, {ScreenId::Form5, "also_visible", 37},
};
// clang-format on

QString shownText(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* box = qobject_cast<QGroupBox*>(w))
        return box->title();
    return QStringLiteral("<no text>");
}

bool inside(QWidget* hit, QWidget* container)
{
    return hit == container || container->isAncestorOf(hit);
}

} // namespace

class SettingsScreenTest : public ScreensTest
{
protected:
    // Boots in full screen or window mode and enters the settings screen
    // the way a user does: F1, then the settings tile.
    void enter(bool fullScreen, std::initializer_list<std::pair<int, QString>> changes = {})
    {
        QStringList lines = configWith(
            {{cfg::Fullscreen, fullScreen ? QStringLiteral("true") : QStringLiteral("false")},
             {cfg::RadioMode, QStringLiteral("true")}});
        for (const auto& [n, text] : changes)
            lines[n] = text;
        writeConfig(lines);
        boot();
        unit->restartOnce.setEnabled(false);
        QTest::keyClick(f1, Qt::Key_F1);
        QTest::mouseClick(f2->butSettings, Qt::LeftButton, {}, QPoint(40, 40));
        ASSERT_TRUE(f5->isVisible());
        f5->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f5));
    }
    LiveSettings& live() { return unit->settings.live; }

    static void tap(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    // On the indicator: a click right of the text does not toggle a box.
    static void tapBox(QAbstractButton* b)
    {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(12, b->height() / 2));
    }
    void tapKeys(const QStringList& captions)
    {
        for (const QString& c : captions)
            QTest::mouseClick(f5->Keyboard, Qt::LeftButton, {}, f5->Keyboard->keyRect(c).center());
    }
    // Replaces a spin box's text by `typed`, key by key.
    static void retype(QSpinBox* spin, const QString& typed)
    {
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(spin, Qt::Key_Delete);
        QTest::keyClicks(spin, typed);
    }
};

TEST_F(SettingsScreenTest, EveryCaptionOfEveryScreenInEachShippedLanguage)
{
    for (const QString& code : {QStringLiteral("DE-DE"), QStringLiteral("EN-US")}) {
        SCOPED_TRACE(code.toStdString());
        writeConfig(configWith({{cfg::Language, code}, {cfg::Fullscreen, QStringLiteral("true")}}));
        boot();
        // The radio's first tune writes the station over two captions of the
        // boot; the language load runs once more, as the General save does.
        unit->settings.loadlang();
        const QStringList lines =
            readLineFile(dataDir + QStringLiteral("lang/%1.mui").arg(code)).value_or(QStringList());
        ASSERT_GE(lines.size(), kLanguageLineCount);
        for (const LanguageTarget& t : languageTargets()) {
            const QString element = QLatin1String(t.element);
            SCOPED_TRACE(t.element);
            const auto known = std::find_if(
                std::begin(kCaptionLines), std::end(kCaptionLines), [&](const CaptionLine& c) {
                    return c.screen == t.screen && element == QLatin1String(c.element);
                });
            ASSERT_NE(known, std::end(kCaptionLines)) << "a target nobody expects";
            QWidget* w = ui->screen(t.screen)->findChild<QWidget*>(element);
            ASSERT_TRUE(w) << "no element of that name on its screen";
            QString expected = lines.at(known->line);
            if (known->line == kAuthorLine)
                expected += QStringLiteral(" Velmarin");
            EXPECT_EQ(shownText(w), expected);
        }
        for (const CaptionLine& c : kCaptionLines) {
            const auto targets = languageTargets();
            EXPECT_TRUE(std::any_of(targets.begin(), targets.end(),
                                    [&](const LanguageTarget& t) {
                                        return t.screen == c.screen &&
                                               QLatin1String(t.element) == QLatin1String(c.element);
                                    }))
                << c.element << " is no longer written";
        }
        EXPECT_TRUE(f5->programmedby->text().endsWith(QStringLiteral(" Velmarin")));
        EXPECT_NE(f5->programmedby->text(), QStringLiteral(" Velmarin"));
    }
}

TEST_F(SettingsScreenTest, KeyboardFollowsTheIconsAndTheClicksIntoAddressAndStationFields)
{
    enter(true);
    const QList<QWidget*> pages = {f5->GB_Navi, f5->GB_Radio, f5->GB_Allgemein, f5->GB_Music,
                                   f5->GB_Dash};
    const struct
    {
        ArtWidget* icon;
        QWidget* page;
        bool hidesKeyboard;
    } icons[] = {
        {f5->Image2, f5->GB_Navi, true},        {f5->Image3, f5->GB_Radio, true},
        {f5->Image12, f5->GB_Allgemein, false}, {f5->Image4, f5->GB_Music, true},
        {f5->Image5, f5->GB_Dash, false},
    };
    for (const auto& i : icons) {
        SCOPED_TRACE(i.page->objectName().toStdString());
        unit->setup.but_show_keys();
        tap(i.icon);
        for (QWidget* p : pages)
            EXPECT_EQ(p->isVisible(), p == i.page) << p->objectName().toStdString();
        EXPECT_EQ(f5->Keyboard->isVisible(), !i.hidesKeyboard);
        EXPECT_EQ(f5->close_keyboard->isVisible(), !i.hidesKeyboard);
    }

    const struct
    {
        ArtWidget* icon;
        QLineEdit* field;
        bool opens;
    } fields[] = {
        {f5->Image2, f5->URL, true},      {f5->Image3, f5->rname[0], true},
        {f5->Image3, f5->rurl[3], true},  {f5->Image3, f5->rdsurl[5], true},
        {f5->Image5, f5->DashURL, false},
    };
    for (const auto& f : fields) {
        SCOPED_TRACE(f.field->objectName().toStdString());
        tap(f.icon);
        if (f5->close_keyboard->isVisible())
            tap(f5->close_keyboard);
        ASSERT_FALSE(f5->Keyboard->isVisible());
        tap(f.field);
        EXPECT_EQ(f5->Keyboard->isVisible(), f.opens);
        EXPECT_EQ(QApplication::focusWidget(), f.field);
    }

    // A typed change of a station field opens it as well.
    tap(f5->Image3);
    ASSERT_FALSE(f5->Keyboard->isVisible());
    QTest::keyClick(f5->rurl[1], Qt::Key_X);
    EXPECT_TRUE(f5->Keyboard->isVisible());
    EXPECT_EQ(live().rurl[1].text(), f5->rurl[1]->text());
}

TEST_F(SettingsScreenTest, OnScreenKeyboardTypesIntoTheAddressAndAPresetOutlivesCancel)
{
    enter(true, {{cfg::NaviUrl, QStringLiteral("http://stored.example/")}});
    tap(f5->Image2);
    tap(f5->URL);
    ASSERT_TRUE(f5->Keyboard->isVisible());
    f5->URL->setCursorPosition(7);
    tapKeys({QStringLiteral("w"), QStringLiteral("w"), QStringLiteral("w"), QStringLiteral(".")});
    EXPECT_EQ(f5->URL->text(), QStringLiteral("http://www.stored.example/"));
    EXPECT_EQ(live().URL.text(), f5->URL->text());
    EXPECT_EQ(f5->URL->cursorPosition(), 11) << "the live value never moves the cursor";
    EXPECT_EQ(QApplication::focusWidget(), f5->URL);

    tap(f5->Button4);
    EXPECT_EQ(f5->URL->text(), maps::Tdu);
    EXPECT_EQ(QApplication::focusWidget(), f5->URL) << "a preset leaves the typing where it was";
    tap(f5->Button9);
    EXPECT_FALSE(f5->GB_Navi->isVisible());
    EXPECT_EQ(live().URL.text(), maps::Tdu);
    EXPECT_EQ(storedConfig().value(cfg::NaviUrl), QStringLiteral("http://stored.example/"));
    tap(f5->Image2);
    EXPECT_EQ(f5->URL->text(), maps::Tdu);
}

TEST_F(SettingsScreenTest, EveryControlShowsAndEditsItsLiveSetting)
{
    enter(false);
    LiveSettings& l = live();
    struct TextCase
    {
        TextValue* value;
        QLineEdit* edit;
    };
    std::vector<TextCase> texts = {
        {&l.URL, f5->URL}, {&l.DashURL, f5->DashURL}, {&l.lang, f5->lang->lineEdit()}};
    for (int i = 0; i < 6; ++i) {
        texts.push_back({&l.rname[i], f5->rname[i]});
        texts.push_back({&l.rurl[i], f5->rurl[i]});
        texts.push_back({&l.rdsurl[i], f5->rdsurl[i]});
    }
    for (const TextCase& c : texts) {
        const QString name =
            c.edit == f5->lang->lineEdit() ? QStringLiteral("lang") : c.edit->objectName();
        SCOPED_TRACE(name.toStdString());
        c.value->set(QStringLiteral("set-") + name);
        EXPECT_EQ(c.edit->text(), c.value->text());
        c.edit->end(false);
        QTest::keyClicks(c.edit, QStringLiteral("+z"));
        EXPECT_EQ(c.value->text(), QStringLiteral("set-%1+z").arg(name));
    }
    l.lang.set(QStringLiteral("DE-DE"));
    EXPECT_EQ(f5->lang->currentIndex(), 0);

    const std::pair<FlagValue*, QCheckBox*> boxes[] = {
        {&l.show_music_in_title, f5->show_music_in_title},
        {&l.auto_changemode, f5->auto_changemode},
        {&l.mute_Settings, f5->mute_Settings},
        {&l.CB_aufl_chgbl, f5->CB_aufl_chgbl},
        {&l.autoplay_last, f5->autoplay_last},
        {&l.onlyatreboot, f5->onlyatreboot},
        {&l.also_visible, f5->also_visible}};
    const QList<QWidget*> pages = {f5->GB_Allgemein, f5->GB_Music};
    for (auto [value, box] : boxes) {
        SCOPED_TRACE(box->objectName().toStdString());
        unit->setup.showPage(f5->GB_Music->isAncestorOf(box) ? zelk::Setup::Page::Music
                                                             : zelk::Setup::Page::General);
        value->set(true);
        EXPECT_TRUE(box->isChecked());
        tapBox(box);
        EXPECT_FALSE(value->on());
        tapBox(box);
        EXPECT_TRUE(value->on());
    }

    unit->setup.showPage(zelk::Setup::Page::General);
    ASSERT_TRUE(f5->fullscreen_false->isChecked()) << "a window-mode start";
    tapBox(f5->fullscreen_true);
    EXPECT_FALSE(l.fullscreen_false.on());
    EXPECT_TRUE(l.fs_changed.on());
    l.selectFullscreen(false);
    EXPECT_TRUE(f5->fullscreen_false->isChecked());

    l.setWindowSize(1100, 650);
    EXPECT_EQ(f5->aufl_x->value(), 1100);
    EXPECT_EQ(f5->aufl_y->value(), 650);
    l.filename.set(QStringLiteral("/music/<b>list</b>.m3u"));
    EXPECT_EQ(f5->filename->text(), l.filename.text());
    EXPECT_EQ(f5->filename->textFormat(), Qt::PlainText);
}

TEST_F(SettingsScreenTest, TypedWindowSizesStayWithinTheirBounds)
{
    enter(false);
    tap(f5->Image12);
    const struct
    {
        QSpinBox* spin;
        IntValue* value;
        const char* typed;
        int expected;
    } cases[] = {
        {f5->aufl_x, &live().aufl_x, "500", 1024},   // below: the lower bound
        {f5->aufl_x, &live().aufl_x, "12345", 1234}, // a fifth digit is refused
        {f5->aufl_x, &live().aufl_x, "abc", 1024},   // no number: the lower bound
        {f5->aufl_x, &live().aufl_x, "1600", 1600},  {f5->aufl_y, &live().aufl_y, "599", 600},
        {f5->aufl_y, &live().aufl_y, "9999", 9999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        retype(c.spin, QString::fromLatin1(c.typed));
        (c.spin == f5->aufl_x ? f5->aufl_y : f5->aufl_x)->setFocus();
        EXPECT_EQ(c.spin->value(), c.expected);
        EXPECT_EQ(c.spin->text(), QString::number(c.expected));
        EXPECT_EQ(c.value->value(), c.expected);
    }
}

TEST_F(SettingsScreenTest, FullScreenStartDisablesTheWindowSizeControls)
{
    for (bool full : {true, false}) {
        SCOPED_TRACE(full);
        writeConfig(configWith(
            {{cfg::Fullscreen, full ? QStringLiteral("true") : QStringLiteral("false")}}));
        boot();
        EXPECT_EQ(f5->fullscreen_true->isChecked(), full);
        EXPECT_EQ(f5->fullscreen_false->isChecked(), !full);
        for (QWidget* w :
             std::initializer_list<QWidget*>{f5->aufl_x, f5->aufl_y, f5->CB_aufl_chgbl})
            EXPECT_EQ(w->isEnabled(), !full) << w->objectName().toStdString();
        EXPECT_EQ(f5->CB_aufl_chgbl->isChecked(), !full);
        const QSize radio = f1->frameGeometry().size();
        const QSize shown(f5->aufl_x->value(), f5->aufl_y->value());
        EXPECT_EQ(shown, full ? QSize(std::clamp(radio.width(), 1024, 9999),
                                      std::clamp(radio.height(), 600, 9999))
                              : QSize(1280, 720));
    }
}

TEST_F(SettingsScreenTest, AboutPanelCoversTheScreenUnderTheKeyboardAndKeepsItsContentCentred)
{
    enter(false);
    tap(f5->Image12);
    QWidget* underPage = f5->childAt(700, 290); // the right end of "Allgemein"
    EXPECT_TRUE(inside(underPage, f5->GB_Allgemein)) << "pages cover the page labels";

    tap(f5->but_about);
    ASSERT_TRUE(f5->about->isVisible());
    EXPECT_EQ(f5->about->geometry(), f5->rect());
    EXPECT_TRUE(inside(f5->childAt(f5->GB_Allgemein->geometry().center()), f5->about));
    unit->setup.but_show_keys();
    EXPECT_EQ(f5->childAt(f5->Keyboard->geometry().center()), f5->Keyboard);
    EXPECT_TRUE(inside(f5->childAt(f5->close_keyboard->geometry().center()), f5->close_keyboard));
    tap(f5->close_keyboard);

    f5->resize(1024, 600);
    EXPECT_EQ(f5->about->geometry(), QRect(0, 0, 1024, 600));
    // Same size, moved by half of the change of size.
    EXPECT_EQ(f5->Panel1->geometry(), QRect(375 - 128, 142 - 60, 545, 369));

    tap(f5->lab_close);
    EXPECT_FALSE(f5->about->isVisible());
    EXPECT_EQ(f5->elements().designTop(f5->about), 3000);
    EXPECT_TRUE(f5->GB_Allgemein->isVisible());
}

TEST_F(SettingsScreenTest, PlaylistChooserShowsAFolderSelectsRenamesAndOpens)
{
    QTemporaryDir music;
    ASSERT_TRUE(QDir(music.path()).mkpath(QStringLiteral("sub")));
    for (const char* name : {"b.wpl", "a.m3u", "sub/c.pls"}) {
        QFile f(music.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    enter(true);
    live().filename.set(music.filePath(QStringLiteral("b.wpl")));
    tap(f5->Image4);
    tap(f5->but_playlist);
    ASSERT_TRUE(f5->choosePlaylist->isVisible());

    QListView* list = f5->shell->list;
    auto* model = qobject_cast<QFileSystemModel*>(list->model());
    ASSERT_TRUE(model);
    const auto names = [&] {
        QStringList out;
        for (int row = 0; row < model->rowCount(list->rootIndex()); ++row)
            out << model->index(row, 0, list->rootIndex()).data().toString();
        return out;
    };
    const QStringList sorted = {QStringLiteral("sub"), QStringLiteral("a.m3u"),
                                QStringLiteral("b.wpl")};
    ASSERT_TRUE(waitUntil([&] { return names() == sorted; })) << names().join(u',').toStdString();
    auto* treeModel = qobject_cast<QFileSystemModel*>(f5->shell->tree->model());
    EXPECT_EQ(treeModel->filePath(f5->shell->tree->currentIndex()), music.path());
    EXPECT_EQ(f5->shell->pathBox->currentData().toString(), music.path());

    const auto rowRect = [&](const char* name) {
        return list->visualRect(model->index(music.filePath(QLatin1String(name))));
    };
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowRect("sub").center());
    EXPECT_EQ(live().filename.text(), music.filePath(QStringLiteral("sub")));
    EXPECT_TRUE(live().playlist_changed.on());

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowRect("a.m3u").center());
    EXPECT_EQ(live().filename.text(), music.filePath(QStringLiteral("a.m3u")));
    // A second click on the selected item opens its name for editing.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowRect("a.m3u").center());
    QLineEdit* editor = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        return editor != nullptr;
    })) << "no name editor";
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("renamed.m3u"));
    QTest::keyClick(editor, Qt::Key_Return);
    const QString renamed = music.filePath(QStringLiteral("renamed.m3u"));
    EXPECT_TRUE(waitUntil([&] {
        return QFile::exists(renamed) && !QFile::exists(music.filePath(QStringLiteral("a.m3u")));
    }));
    EXPECT_EQ(live().filename.text(), renamed) << "the renamed file stays the chosen one";

    // The selection stays marked when the list loses the focus.
    const QPalette pal = list->palette();
    EXPECT_EQ(pal.color(QPalette::Inactive, QPalette::Highlight),
              pal.color(QPalette::Active, QPalette::Highlight));

    const QString sub = music.filePath(QStringLiteral("sub"));
    // Opening a folder: select it and activate it.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowRect("sub").center());
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(model->filePath(list->rootIndex()), sub);
    EXPECT_EQ(treeModel->filePath(f5->shell->tree->currentIndex()), sub);
    EXPECT_EQ(f5->shell->pathBox->currentData().toString(), sub);
    EXPECT_TRUE(waitUntil([&] { return names() == QStringList{QStringLiteral("c.pls")}; }));

    // One folder up in the path box, which lists the folders down to the current.
    QTest::keyClick(f5->shell->pathBox, Qt::Key_Up);
    EXPECT_EQ(model->filePath(list->rootIndex()), music.path());
    EXPECT_EQ(treeModel->filePath(f5->shell->tree->currentIndex()), music.path());

    // It belongs to the page, yet stays open when the page closes.
    tap(f5->Button8);
    EXPECT_FALSE(f5->GB_Music->isVisible());
    tap(f5->Image4);
    EXPECT_TRUE(f5->choosePlaylist->isVisible());
    tap(f5->Button15);
    EXPECT_FALSE(f5->choosePlaylist->isVisible());
}

TEST_F(SettingsScreenTest, AfterAFixedFrameSaveEveryScreenTakesTheSizeAndF5GivesTheDesignBack)
{
    enter(false);
    tap(f5->Image12);
    retype(f5->aufl_x, QStringLiteral("1100"));
    retype(f5->aufl_y, QStringLiteral("650"));
    if (f5->CB_aufl_chgbl->isChecked())
        tapBox(f5->CB_aufl_chgbl);
    tap(f5->Button10);
    ASSERT_EQ(f5->frameGeometry().size(), QSize(1100, 650));
    const QSize inner = f5->size();

    tap(f5->butback);
    ASSERT_TRUE(f2->isVisible());
    EXPECT_EQ(f2->size(), inner) << "the menu takes the settings screen's size";
    QTest::mouseClick(f2->butRadio, Qt::LeftButton, {}, QPoint(40, 40));
    ASSERT_TRUE(f1->isVisible());
    EXPECT_EQ(f1->size(), inner);
    EXPECT_EQ(f1->minimumSize(), f1->maximumSize()) << "the frame stays fixed";

    QTest::keyClick(f1, Qt::Key_F5);
    for (Screen* screen : std::initializer_list<Screen*>{f1, f2, f3, f5}) {
        SCOPED_TRACE(static_cast<int>(screen->id()));
        EXPECT_EQ(screen->size(), QSize(1280, 720));
        EXPECT_NE(screen->minimumSize(), screen->maximumSize()) << "sizeable again";
        EXPECT_LE(screen->minimumSize().width(), 1024);
    }
}

TEST_F(SettingsScreenTest, ASizeTypedAndSavedAtOnceIsBoundedAndUsed)
{
    enter(false);
    const struct
    {
        const char* typed;
        int width; // outer width after the save
    } cases[] = {{"1150", 1150}, {"900", 1024}, {"abc", 1024}, {"1210", 1210}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        tap(f5->Image12);
        retype(f5->aufl_y, QStringLiteral("700"));
        retype(f5->aufl_x, QString::fromLatin1(c.typed));
        ASSERT_TRUE(f5->aufl_x->hasFocus());
        tap(f5->Button10); // the focus stays in the box
        EXPECT_EQ(f5->frameGeometry().size(), QSize(c.width, 700));
        f5->setFocus();
        EXPECT_EQ(f5->aufl_x->text(), QString::number(c.width)) << "the box shows what was used";
    }
}

TEST_F(SettingsScreenTest, GeneralSaveInWindowModeSetsTheOuterSizeAndTheFramesOfAllScreens)
{
    enter(false);
    const std::initializer_list<Screen*> all = {f1, f2, f3, f5};
    const struct
    {
        const char* width;
        const char* height;
        bool sizeable;
        QSize outer;
    } saves[] = {
        {"1100", "650", false, {1100, 650}},
        // A fixed frame does not hold the next size back.
        {"1200", "700", true, {1200, 700}},
    };
    for (const auto& s : saves) {
        SCOPED_TRACE(s.width);
        tap(f5->Image12);
        retype(f5->aufl_x, QLatin1String(s.width));
        retype(f5->aufl_y, QLatin1String(s.height));
        if (f5->CB_aufl_chgbl->isChecked() != s.sizeable)
            tapBox(f5->CB_aufl_chgbl);
        tap(f5->Button10);
        EXPECT_FALSE(f5->GB_Allgemein->isVisible());
        EXPECT_EQ(f5->frameGeometry().size(), s.outer);
        for (Screen* screen : all) {
            SCOPED_TRACE(static_cast<int>(screen->id()));
            const bool fixed = screen->minimumSize() == screen->maximumSize();
            EXPECT_EQ(fixed, !s.sizeable);
            if (s.sizeable) {
                EXPECT_LE(screen->minimumSize().width(), 1024);
            }
        }
    }
}
