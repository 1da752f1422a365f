#pragma once

#include <QWidget>

// The preview window: a snippet's text or a picture, beside the hovered entry.
class TFmHint : public QWidget {
    Q_OBJECT
public:
    TFmHint();
};

extern TFmHint* FmHint;
