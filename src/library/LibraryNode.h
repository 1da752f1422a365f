#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

// What a node stands for. The values are the indices of the kinds' icons in the shared icon
// list, so that an entry can draw its kind directly.
enum class NodeKind {
    Separator = -2,
    Command = -1,
    Text = 4,
    Folder = 6,
    Image = 15,
};

// The icon index of the check mark drawn before a checked command.
inline constexpr int CheckMarkIcon = 8;

// One node of the library tree: a folder, a snippet, a picture, or a System command.
// A node owns its children; index() is the node's position among its siblings.
class LibraryNode {
public:
    LibraryNode() = default;
    LibraryNode(QString caption, QString path, NodeKind kind);
    LibraryNode(const LibraryNode&) = delete;
    LibraryNode& operator=(const LibraryNode&) = delete;

    const QString& caption() const { return caption_; }
    // The full path of the folder or file; empty for System items.
    const QString& path() const { return path_; }
    void setPath(const QString& path) { path_ = path; }
    NodeKind kind() const { return kind_; }
    bool isChecked() const { return checked_; }
    void setChecked(bool checked) { checked_ = checked; }
    // What a command does when chosen.
    void setAction(std::function<void()> action) { action_ = std::move(action); }
    // Runs the action when there is one.
    void trigger() const;

    LibraryNode* parent() const { return parent_; }
    int childCount() const { return static_cast<int>(children_.size()); }
    LibraryNode* child(int index) const { return children_.at(static_cast<size_t>(index)).get(); }
    // The child at `index`; null past the children (a popup's empty space or "空").
    LibraryNode* childOrNull(int index) const {
        return index >= 0 && index < childCount() ? child(index) : nullptr;
    }
    // The child whose path is `path`, compared exactly as the file system compares names;
    // null when none.
    LibraryNode* childWithPath(const QString& path) const;

    // Appends a child and returns it.
    LibraryNode* addChild(std::unique_ptr<LibraryNode> child);
    LibraryNode* addChild(const QString& caption, const QString& path, NodeKind kind);
    // Removes and frees the child at `index` with its subtree.
    void removeChild(int index);
    // Removes and frees every child.
    void clearChildren();

    // Position among the siblings; -1 for a node without parent.
    int index() const;
    // Moves the node to `index` among its siblings, clamped to the last position.
    void moveTo(int index);
    // Moves `children` (distinct children of this node) to the front in the order given; the
    // others follow in the order they had. Linear in the number of children.
    void moveToFront(const std::vector<LibraryNode*>& children);

private:
    QString caption_;
    QString path_;
    NodeKind kind_ = NodeKind::Command;
    bool checked_ = false;
    std::function<void()> action_;
    LibraryNode* parent_ = nullptr;
    std::vector<std::unique_ptr<LibraryNode>> children_;
};
