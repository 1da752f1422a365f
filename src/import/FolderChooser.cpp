#include "import/FolderChooser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
// Shows `root` and the folders below it, and the chain of folders above it that leads there.
class InsideRoot : public QSortFilterProxyModel {
public:
    InsideRoot(const QString& root, QObject* parent) : QSortFilterProxyModel(parent), root_(root) {}

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* model = static_cast<const QFileSystemModel*>(sourceModel());
        const QString path = model->filePath(model->index(row, 0, parent));
        return path == root_ || path.startsWith(root_ + u'/') || root_.startsWith(path + u'/') ||
               path == u"/";
    }

private:
    QString root_;
};
} // namespace

FolderChooser::FolderChooser(const QString& root, const QString& prompt, QWidget* parent)
    : QDialog(parent), root_(QDir::cleanPath(QDir(root).absolutePath())) {
    setWindowTitle(QStringLiteral("浏览文件夹"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(prompt, this));

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    model_->setReadOnly(false);
    const QModelIndex rootIndex = model_->setRootPath(QFileInfo(root_).absolutePath());
    Q_UNUSED(rootIndex);
    inside_ = new InsideRoot(root_, this);
    inside_->setSourceModel(model_);
    view_ = new QTreeView(this);
    view_->setModel(inside_);
    view_->setRootIndex(inside_->mapFromSource(model_->index(QFileInfo(root_).absolutePath())));
    view_->expand(inside_->mapFromSource(model_->index(root_)));
    for (int column = 1; column < model_->columnCount(); ++column)
        view_->hideColumn(column);
    view_->header()->hide();
    layout->addWidget(view_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* newFolder =
        buttons->addButton(QStringLiteral("新建文件夹(&M)"), QDialogButtonBox::ActionRole);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setEnabled(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(newFolder, &QPushButton::clicked, this, &FolderChooser::makeNewFolder);
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ok_->setEnabled(!selectedPath().isEmpty()); });
    resize(360, 420);
}

QString FolderChooser::selectedPath() const {
    const QModelIndex current = view_->currentIndex();
    if (!current.isValid())
        return {};
    const QString path = model_->filePath(inside_->mapToSource(current));
    return path == root_ || path.startsWith(root_ + u'/') ? path : QString();
}

QString FolderChooser::chosenFolder() const {
    return selectedPath();
}

void FolderChooser::makeNewFolder() {
    const QString parent = selectedPath().isEmpty() ? root_ : selectedPath();
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, QStringLiteral("新建文件夹"), QStringLiteral("文件夹名称："),
                              QLineEdit::Normal, QStringLiteral("新建文件夹"), &ok);
    if (!ok || name.isEmpty() || name.contains(u'/') || name == u"." || name == u"..")
        return;
    if (QDir(parent).mkdir(name))
        view_->setCurrentIndex(inside_->mapFromSource(model_->index(parent + u'/' + name)));
}
