#include "ui/IconList.h"

#include <QPainter>
#include <QPixmap>

namespace {
const QPixmap& strip() {
    static const QPixmap strip(QStringLiteral(":/icons/icon_list.png"));
    return strip;
}
} // namespace

void drawListIcon(QPainter& painter, int index, QPoint at) {
    const int count = strip().width() / IconSize;
    if (index < 0 || index >= count)
        return;
    painter.drawPixmap(at, strip(), QRect(index * IconSize, 0, IconSize, IconSize));
}
