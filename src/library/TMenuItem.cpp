#include "library/TMenuItem.h"

#include <algorithm>

TMenuItem::TMenuItem(QString caption, QString hint, int imageIndex)
    : Caption(std::move(caption)), Hint(std::move(hint)), ImageIndex(imageIndex) {}

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> child) {
    child->parent_ = this;
    children_.push_back(std::move(child));
    return children_.back().get();
}

TMenuItem* TMenuItem::Add(const QString& caption, const QString& hint, int imageIndex) {
    return Add(std::make_unique<TMenuItem>(caption, hint, imageIndex));
}

void TMenuItem::Delete(int index) {
    children_.erase(children_.begin() + index);
}

void TMenuItem::Clear() {
    children_.clear();
}

void TMenuItem::Click() {
    if (OnClick)
        OnClick();
}

int TMenuItem::MenuIndex() const {
    if (!parent_)
        return -1;
    const auto& siblings = parent_->children_;
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this)
            return static_cast<int>(i);
    return -1;
}

void TMenuItem::SetMenuIndex(int index) {
    if (!parent_)
        return;
    auto& siblings = parent_->children_;
    const int from = MenuIndex();
    const int to = std::clamp(index, 0, static_cast<int>(siblings.size()) - 1);
    if (from == to)
        return;
    auto self = std::move(siblings[static_cast<size_t>(from)]);
    siblings.erase(siblings.begin() + from);
    siblings.insert(siblings.begin() + to, std::move(self));
}
