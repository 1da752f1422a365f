#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

// Kind codes, kept in a node's ImageIndex.
inline constexpr int ikSeparator = -2;
inline constexpr int ikCommand = -1;
inline constexpr int ikText = 4;
inline constexpr int ikFolder = 6;
inline constexpr int ikCheckMark = 8;
inline constexpr int ikImage = 15;

// One node of the library tree: a folder, a snippet, a picture, or a System command.
// A node owns its children; MenuIndex is the node's position among its siblings.
class TMenuItem {
public:
    TMenuItem() = default;
    TMenuItem(QString caption, QString hint, int imageIndex);
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    QString Caption;
    QString Hint; // full path of the folder or file, empty for System items
    int ImageIndex = ikCommand;
    bool Checked = false;
    std::function<void()> OnClick;

    TMenuItem* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TMenuItem* Items(int index) const { return children_.at(static_cast<size_t>(index)).get(); }

    // Appends `child` and returns it.
    TMenuItem* Add(std::unique_ptr<TMenuItem> child);
    TMenuItem* Add(const QString& caption, const QString& hint, int imageIndex);
    // Removes and frees the child at `index` with its subtree.
    void Delete(int index);
    // Removes and frees every child.
    void Clear();
    // Runs OnClick when there is one.
    void Click();

    // Position among the siblings; -1 for a node without parent.
    int MenuIndex() const;
    // Moves the node to `index` among its siblings, clamped to the last position.
    void SetMenuIndex(int index);

private:
    TMenuItem* parent_ = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> children_;
};
