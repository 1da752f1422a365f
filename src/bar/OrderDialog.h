#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

// Puts the top-level folders, the bar's labels after the System label, into a new order: one
// name at a time moves up or down, the selection following it.
class OrderDialog : public QDialog {
    Q_OBJECT
public:
    explicit OrderDialog(const QStringList& names, QWidget* parent = nullptr);

    QStringList names() const;
    // The selected row, or -1.
    int selectedRow() const;
    void selectRow(int row);
    // Exchange the selected name with the one above or below it; nothing at the ends.
    void moveUp();
    void moveDown();

private:
    void exchange(int row, int other);
    QListWidget* list_ = nullptr;
};
