#include "app/tree_mirror.h"

#include <QString>
#include <QStringList>

namespace anitrope {

namespace {

// Sets a flag for the length of a scope and puts back what it was, for nested changes.
class Updating {
public:
    explicit Updating(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Updating() { flag_ = was_; }
    Updating(const Updating&) = delete;
    Updating& operator=(const Updating&) = delete;

private:
    bool& flag_;
    bool was_;
};

}  // namespace

TreeMirror::TreeMirror(QTreeWidget& widget, DocumentTree& tree, SelectionHandler onUserSelection)
    : widget_(&widget),
      tree_(tree),
      onUserSelection_(std::move(onUserSelection)),
      selected_(tree.Selected()) {
    {
        Updating updating(updating_);
        widget.clear();
        widget.setColumnCount(1);
        widget.setHeaderHidden(true);
        widget.setSelectionMode(QAbstractItemView::SingleSelection);
        AddSubtree(tree.Root(), nullptr, 0);
        widget.expandAll();
    }
    currentChanged_ = QObject::connect(
        &widget, &QTreeWidget::currentItemChanged, &context_,
        [this](QTreeWidgetItem* current, QTreeWidgetItem*) { CurrentChanged(current); });
    ShowSelection();
    tree.SetObserver(this);
}

TreeMirror::~TreeMirror() {
    QObject::disconnect(currentChanged_);
    if (tree_.Observer() == this) tree_.SetObserver(nullptr);
}

QTreeWidgetItem* TreeMirror::WidgetItem(TreeItem item) const {
    if (!widget_) return nullptr;
    const auto found = widgetItems_.find(item);
    return found == widgetItems_.end() ? nullptr : found->second;
}

TreeItem TreeMirror::ItemOf(const QTreeWidgetItem* widgetItem) const {
    if (!widget_) return kNoItem;
    const auto found = items_.find(widgetItem);
    return found == items_.end() ? kNoItem : found->second;
}

QTreeWidgetItem* TreeMirror::Add(TreeItem item, QTreeWidgetItem* parent, int index,
                                 const std::string& label) {
    auto* widgetItem = new QTreeWidgetItem(
        QStringList{QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()))});
    if (parent) {
        parent->insertChild(index, widgetItem);
    } else {
        widget_->insertTopLevelItem(index, widgetItem);
    }
    widgetItems_[item] = widgetItem;
    items_[widgetItem] = item;
    return widgetItem;
}

void TreeMirror::AddSubtree(TreeItem item, QTreeWidgetItem* parent, int index) {
    QTreeWidgetItem* widgetItem = Add(item, parent, index, tree_.Label(item));
    int childIndex = 0;
    for (TreeItem child : tree_.Children(item)) AddSubtree(child, widgetItem, childIndex++);
}

void TreeMirror::Inserted(TreeItem item, TreeItem parent, TreeItem after,
                          const std::string& label) {
    QTreeWidgetItem* parentItem = WidgetItem(parent);
    if (!parentItem || widgetItems_.count(item)) return;
    int index = 0;
    if (after != kNoItem) {
        const QTreeWidgetItem* afterItem = WidgetItem(after);
        // A sibling the widget lacks cannot happen while both follow the tree; appending
        // keeps the item visible if it does.
        index = afterItem ? parentItem->indexOfChild(const_cast<QTreeWidgetItem*>(afterItem)) + 1
                          : parentItem->childCount();
    }
    {
        Updating updating(updating_);
        Add(item, parentItem, index, label);
        parentItem->setExpanded(true);
    }
    ShowSelection();
}

void TreeMirror::Forget(QTreeWidgetItem* widgetItem) {
    for (int i = 0; i < widgetItem->childCount(); ++i) Forget(widgetItem->child(i));
    const auto found = items_.find(widgetItem);
    if (found == items_.end()) return;
    widgetItems_.erase(found->second);
    items_.erase(found);
}

void TreeMirror::Removed(TreeItem item) {
    QTreeWidgetItem* widgetItem = WidgetItem(item);
    if (!widgetItem) return;
    {
        Updating updating(updating_);
        Forget(widgetItem);
        delete widgetItem;  // takes its children and leaves its parent
    }
    ShowSelection();
}

void TreeMirror::Selected(TreeItem item) {
    selected_ = item;
    ShowSelection();
}

void TreeMirror::ShowSelection() {
    QTreeWidgetItem* widgetItem = WidgetItem(selected_);
    if (!widgetItem) return;
    Updating updating(updating_);
    if (widget_->currentItem() != widgetItem || !widgetItem->isSelected())
        widget_->setCurrentItem(widgetItem);
    widget_->scrollToItem(widgetItem);
}

void TreeMirror::CurrentChanged(QTreeWidgetItem* current) {
    if (updating_) return;
    const TreeItem item = ItemOf(current);
    if (item == kNoItem || item == selected_) return;
    if (onUserSelection_) onUserSelection_(item);
    if (selected_ != item) {
        // The handler kept the old selection. The widget finishes handling the click or key
        // after this signal, selecting what was clicked, so the way back waits until then.
        QMetaObject::invokeMethod(
            &context_, [this] { ShowSelection(); }, Qt::QueuedConnection);
    }
}

}  // namespace anitrope
