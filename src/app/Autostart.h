#pragma once

#include <QByteArray>
#include <QString>

// The desktop entry that starts `program` when the user logs in (the freedesktop autostart
// folder), its path quoted as Exec lines want it.
QByteArray autostartEntry(const QString& program);
