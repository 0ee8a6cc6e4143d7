#pragma once
// The playlist chooser's three views of the file system: a path box, a
// folder tree and a file list, linked so that all three stand at one
// current folder. The file-system models read folders on their own threads
// and fill the views as the answers come; nothing here waits for a disk.

#include <QFileIconProvider>
#include <QObject>
#include <QString>

class QComboBox;
class QFileSystemModel;
class QListView;
class QTreeView;
class QWidget;

namespace zelk {

class ShellViews : public QObject
{
    Q_OBJECT
public:
    // The three views are children of `parent`; their place is the caller's.
    explicit ShellViews(QWidget* parent);
    ~ShellViews() override;

    QComboBox* pathBox;
    QTreeView* tree;
    QListView* list;

    // The first call only: the folder that holds `file` when it exists, else
    // the home folder. Later calls leave the views where the user left them.
    void openAt(const QString& file);
    // Makes `folder` current in all three views.
    void setFolder(const QString& folder);
    QString folder() const { return m_folder; }

Q_SIGNALS:
    // The full path of the list's selected item (the first one in the list),
    // after every change of the list while an item is selected.
    void selected(const QString& path);

private:
    void makeModels();
    void fillPathBox();
    void reportSelection();

    // The style's folder and file icons where the desktop offers none.
    QFileIconProvider m_icons;
    QFileSystemModel* m_folders = nullptr;
    QFileSystemModel* m_entries = nullptr;
    QString m_folder;
    QString m_treeRoot;
};

} // namespace zelk
