#include "library/LibraryNode.h"

#include <unordered_map>

#include <algorithm>

LibraryNode::LibraryNode(QString caption, QString path, NodeKind kind)
    : caption_(std::move(caption)), path_(std::move(path)), kind_(kind) {}

void LibraryNode::trigger() const {
    if (action_)
        action_();
}

LibraryNode* LibraryNode::addChild(std::unique_ptr<LibraryNode> child) {
    child->parent_ = this;
    children_.push_back(std::move(child));
    return children_.back().get();
}

LibraryNode* LibraryNode::addChild(const QString& caption, const QString& path, NodeKind kind) {
    return addChild(std::make_unique<LibraryNode>(caption, path, kind));
}

void LibraryNode::removeChild(int index) {
    children_.erase(children_.begin() + index);
}

void LibraryNode::clearChildren() {
    children_.clear();
}

LibraryNode* LibraryNode::childWithPath(const QString& path) const {
    for (const auto& child : children_)
        if (child->path() == path)
            return child.get();
    return nullptr;
}

int LibraryNode::index() const {
    if (!parent_)
        return -1;
    const auto& siblings = parent_->children_;
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this)
            return static_cast<int>(i);
    return -1;
}

void LibraryNode::moveTo(int index) {
    if (!parent_)
        return;
    auto& siblings = parent_->children_;
    const int from = this->index();
    const int to = std::clamp(index, 0, static_cast<int>(siblings.size()) - 1);
    if (from == to)
        return;
    auto self = std::move(siblings[static_cast<size_t>(from)]);
    siblings.erase(siblings.begin() + from);
    siblings.insert(siblings.begin() + to, std::move(self));
}

void LibraryNode::moveToFront(const std::vector<LibraryNode*>& children) {
    std::unordered_map<const LibraryNode*, size_t> positions;
    positions.reserve(children_.size());
    for (size_t i = 0; i < children_.size(); ++i)
        positions.emplace(children_[i].get(), i);
    std::vector<std::unique_ptr<LibraryNode>> reordered;
    reordered.reserve(children_.size());
    for (LibraryNode* child : children) {
        const auto found = positions.find(child);
        if (found != positions.end() && children_[found->second])
            reordered.push_back(std::move(children_[found->second]));
    }
    for (auto& rest : children_)
        if (rest)
            reordered.push_back(std::move(rest));
    children_ = std::move(reordered);
}
