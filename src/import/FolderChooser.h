#pragma once

#include <QDialog>

class QFileSystemModel;
class QSortFilterProxyModel;
class QTreeView;
class QPushButton;

// Chooses a folder at or below `root`: nothing outside it can be reached. Offers a button for
// a new folder. Nothing is selected at first; OK waits for a choice.
class FolderChooser : public QDialog {
    Q_OBJECT
public:
    FolderChooser(const QString& root, const QString& prompt, QWidget* parent = nullptr);

    // The chosen folder, after exec() returned Accepted.
    QString chosenFolder() const;

private:
    void makeNewFolder();
    QString selectedPath() const;

    QString root_;
    QFileSystemModel* model_ = nullptr;
    QSortFilterProxyModel* inside_ = nullptr;
    QTreeView* view_ = nullptr;
    QPushButton* ok_ = nullptr;
};
