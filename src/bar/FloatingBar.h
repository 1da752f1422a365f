#pragma once

#include "base/OptionsFile.h"

#include <QList>
#include <QPoint>
#include <QWidget>

#include <cstdint>

class BarLabel;
class BarSkin;
class FolderPopup;
class Library;
class Platform;
class PreviewWindow;

// The floating bar: one label per child of the library root over a stretched skin. Pressing
// a label opens the first-level popup under it; pressing the skin and dragging moves the bar.
// It never takes the keyboard focus.
class FloatingBar : public QWidget {
    Q_OBJECT
public:
    FloatingBar(Platform& platform, Library& library, FolderPopup& popup, PreviewWindow& preview,
                std::uint32_t windowTag, BarPlacement placement);
    ~FloatingBar() override;

    // Rebuilds the labels from the children of the root, then sizes and places the bar.
    void rebuildLabels();
    QList<BarLabel*> labels() const;
    // Where the bar stands: Left as last placed or dragged, Top as read at start.
    const BarPlacement& placement() const { return placement_; }
    void setPlacement(const BarPlacement& placement) { placement_ = placement; }
    // The bar's top-left corner as last asked of the window system, which may confirm it late.
    QPoint requestedPosition() const { return requestedPosition_; }

    // While the first-level popup shows, every press of the left or right button anywhere is
    // looked at: outside the program's windows it closes the popups.
    bool outsideWatchActive() const { return outsideWatch_; }
    void outsidePress();

    // What the skin and the labels report (public for tests).
    void skinPressed(QPoint cursor);
    void skinDragged(QPoint cursor);
    void skinReleased(QPoint cursor);
    void skinEntered();
    void labelEntered(BarLabel* label);
    void labelDragEntered(BarLabel* label);
    void labelLeft(BarLabel* label);
    void labelPressed(BarLabel* label, Qt::MouseButton button);

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void setOutsideWatch(bool active);
    void popupHidden();
    void layoutSkin();
    void openPopupFor(BarLabel* label);
    void moveBar(QPoint position);

    Platform& platform_;
    Library& library_;
    FolderPopup& popup_;
    PreviewWindow& preview_;
    std::uint32_t windowTag_;
    BarPlacement placement_;

    QWidget* panel_ = nullptr;
    BarSkin* skin_ = nullptr;
    bool outsideWatch_ = false;
    // Moving the bar by its skin.
    bool skinDown_ = false;
    bool movedBefore_ = false; // after the first move any motion counts, without dead zone
    QPoint pressCursor_;
    QPoint pressPosition_;
    QPoint requestedPosition_;
    bool placeReasserted_ = false; // since the last move asked for
};
