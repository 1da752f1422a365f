#pragma once

#include <QLocalServer>
#include <QObject>

// One running program per library: a second start tells the first to bring its bar
// back and ends, instead of two bars writing the same Order.ini and Options.ini.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& libraryFolder);

    // False when another start of this program folder runs; it has been told to come back.
    bool isFirst() const { return first_; }

signals:
    void calledBack();

private:
    QLocalServer server_;
    bool first_ = true;
};
