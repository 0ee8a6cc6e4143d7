#include "screens/shellviews.h"

#include "screens/layout.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QListView>
#include <QStandardPaths>
#include <QTreeView>

#include <algorithm>

namespace zelk {

namespace {

constexpr int kFontPx = 19;

// White with black text like the other fields; the selection keeps its
// colour when the view loses the focus, so the chosen file stays marked.
void styleView(QAbstractItemView* view)
{
    view->setFont(headUnitFont(kFontPx));
    view->setStyleSheet(QStringLiteral("QAbstractItemView{color:black;background:white;"
                                       "border:1px solid #7f838a;border-radius:3px;}"));
    QPalette pal = view->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Highlight, QColor(0xCE, 0x11, 0x11));
        pal.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    view->setPalette(pal);
}

// The tree starts at the home folder; a folder outside it is reached from
// the file system's root.
QString treeRootFor(const QString& folder)
{
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + QLatin1Char('/')))
        return home;
    return QDir::rootPath();
}

} // namespace

ShellViews::ShellViews(QWidget* parent) : QObject(parent)
{
    pathBox = new QComboBox(parent);
    styleControl(pathBox, Kind::Combo, fieldLook(kFontPx));

    tree = new QTreeView(parent);
    styleView(tree);
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(false);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);

    list = new QListView(parent);
    styleView(list);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    // Renaming in place by a click on the selected item; F2 never gets here,
    // it is the head unit's previous-title key.
    list->setEditTriggers(QAbstractItemView::SelectedClicked);

    connect(pathBox, &QComboBox::activated, this,
            [this](int row) { setFolder(pathBox->itemData(row).toString()); });
}

ShellViews::~ShellViews()
{
    // The models' reader threads use the icon provider until the models are
    // gone, and members go before children.
    delete m_entries;
    delete m_folders;
}

void ShellViews::makeModels()
{
    if (m_entries)
        return;
    m_folders = new QFileSystemModel(this);
    m_folders->setIconProvider(&m_icons);
    m_folders->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    // The tree is read once and not refreshed when folders change on disk.
    m_folders->setOption(QFileSystemModel::DontWatchForChanges);
    tree->setModel(m_folders);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        tree->hideColumn(column);

    m_entries = new QFileSystemModel(this);
    m_entries->setIconProvider(&m_icons);
    m_entries->setFilter(QDir::AllEntries | QDir::AllDirs | QDir::NoDotAndDotDot);
    m_entries->setReadOnly(false);
    m_entries->sort(0, Qt::AscendingOrder);
    list->setModel(m_entries);

    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    setFolder(m_folders->filePath(current));
            });
    connect(list, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (m_entries->isDir(index))
            setFolder(m_entries->filePath(index));
    });
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ShellViews::reportSelection);
    // A new name is a change of the list as well.
    connect(m_entries, &QFileSystemModel::fileRenamed, this, &ShellViews::reportSelection);
}

void ShellViews::openAt(const QString& file)
{
    if (!m_folder.isEmpty())
        return;
    const QFileInfo info(file);
    setFolder(!file.isEmpty() && info.exists() ? info.absolutePath() : QDir::homePath());
}

void ShellViews::setFolder(const QString& folder)
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (path == m_folder)
        return;
    m_folder = path;
    makeModels();

    list->selectionModel()->clear();
    m_entries->setRootPath(path);
    list->setRootIndex(m_entries->index(path));

    const QString root = treeRootFor(path);
    if (root != m_treeRoot) {
        m_treeRoot = root;
        m_folders->setRootPath(root);
        tree->setRootIndex(m_folders->index(root));
    }
    const QModelIndex at = m_folders->index(path);
    for (QModelIndex up = at.parent(); up.isValid() && up != tree->rootIndex(); up = up.parent())
        tree->expand(up);
    // Back here through currentChanged, which finds the folder current.
    tree->setCurrentIndex(at);
    tree->scrollTo(at);

    fillPathBox();
}

void ShellViews::fillPathBox()
{
    // The places first, then every folder from the root down to the current.
    QStringList folders;
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir())
        folders << QDir::cleanPath(desktop);
    folders << QDir::homePath() << QDir::rootPath();
    QStringList chain;
    for (QDir dir(m_folder);;) {
        chain.prepend(dir.absolutePath());
        if (!dir.cdUp())
            break;
    }
    for (const QString& f : chain)
        if (!folders.contains(f))
            folders << f;

    const QSignalBlocker quiet(pathBox);
    pathBox->clear();
    for (const QString& f : folders)
        pathBox->addItem(m_icons.icon(QFileInfo(f)), QDir::toNativeSeparators(f), f);
    pathBox->setCurrentIndex(pathBox->findData(m_folder));
}

void ShellViews::reportSelection()
{
    QModelIndexList rows = list->selectionModel()->selectedIndexes();
    if (rows.isEmpty())
        return;
    const auto first =
        std::min_element(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) {
            return a.row() < b.row();
        });
    Q_EMIT selected(m_entries->filePath(*first));
}

} // namespace zelk
