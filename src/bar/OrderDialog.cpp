#include "bar/OrderDialog.h"

#include "ui/Theme.h"

#include <QListWidget>
#include <QPushButton>

OrderDialog::OrderDialog(const QStringList& names, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("主菜单顺序调整"));
    setFont(barFont());
    constexpr int kBorder = 8;
    setFixedSize(245 + 2 * kBorder, 218 + 2 * kBorder);

    list_ = new QListWidget(this);
    list_->setGeometry(kBorder, kBorder, 164, 218);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->addItems(names);
    auto button = [this](const QString& caption, int top) {
        auto* b = new QPushButton(caption, this);
        b->setGeometry(kBorder + 170, kBorder + top, 75, 25);
        return b;
    };
    QPushButton* up = button(QStringLiteral("上移"), 0);
    QPushButton* down = button(QStringLiteral("下移"), 31);
    QPushButton* ok = button(QStringLiteral("确定"), 62);
    QPushButton* cancel = button(QStringLiteral("取消"), 93);
    ok->setDefault(true);
    connect(up, &QPushButton::clicked, this, &OrderDialog::moveUp);
    connect(down, &QPushButton::clicked, this, &OrderDialog::moveDown);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(list_, up);
    setTabOrder(up, down);
    setTabOrder(down, ok);
    setTabOrder(ok, cancel);
}

QStringList OrderDialog::names() const {
    QStringList names;
    for (int row = 0; row < list_->count(); ++row)
        names << list_->item(row)->text();
    return names;
}

int OrderDialog::selectedRow() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.first());
}

void OrderDialog::selectRow(int row) {
    list_->setCurrentRow(row);
}

void OrderDialog::exchange(int row, int other) {
    const QString text = list_->item(row)->text();
    list_->item(row)->setText(list_->item(other)->text());
    list_->item(other)->setText(text);
    list_->setCurrentRow(other); // the selection follows the name
}

void OrderDialog::moveUp() {
    const int row = selectedRow();
    if (row > 0)
        exchange(row, row - 1);
}

void OrderDialog::moveDown() {
    const int row = selectedRow();
    if (row >= 0 && row < list_->count() - 1)
        exchange(row, row + 1);
}
