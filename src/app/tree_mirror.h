#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QTreeWidget>
#include <functional>
#include <unordered_map>

#include "app/document_tree.h"

namespace anitrope {

// Shows a DocumentTree in a QTreeWidget: the same labels, in the same order, under the same
// parents, with the tree's selection as the widget's current item. Changes of the current
// item that the widget makes on its own (a click, the arrow keys) go to `onUserSelection`;
// the changes the mirror makes itself do not, so a handler that answers by selecting in the
// tree starts no loop. Should the handler leave the tree's selection as it was, the widget
// returns to it.
//
// The mirror fills the widget from the tree and observes the tree for as long as it lives;
// the tree must outlive it. The widget may go first: the mirror then does nothing.
class TreeMirror final : public TreeObserver {
public:
    using SelectionHandler = std::function<void(TreeItem)>;

    TreeMirror(QTreeWidget& widget, DocumentTree& tree, SelectionHandler onUserSelection);
    ~TreeMirror() override;
    TreeMirror(const TreeMirror&) = delete;
    TreeMirror& operator=(const TreeMirror&) = delete;

    // Null for an item the widget does not show.
    QTreeWidgetItem* WidgetItem(TreeItem item) const;
    // kNoItem for a widget item that stands for nothing.
    TreeItem ItemOf(const QTreeWidgetItem* widgetItem) const;

    void Inserted(TreeItem item, TreeItem parent, TreeItem after,
                  const std::string& label) override;
    void Removed(TreeItem item) override;
    void Selected(TreeItem item) override;

private:
    QTreeWidgetItem* Add(TreeItem item, QTreeWidgetItem* parent, int index,
                         const std::string& label);
    void AddSubtree(TreeItem item, QTreeWidgetItem* parent, int index);
    void Forget(QTreeWidgetItem* widgetItem);  // with its children, from both maps
    void ShowSelection();
    void CurrentChanged(QTreeWidgetItem* current);

    QPointer<QTreeWidget> widget_;
    DocumentTree& tree_;
    SelectionHandler onUserSelection_;
    std::unordered_map<TreeItem, QTreeWidgetItem*> widgetItems_;
    std::unordered_map<const QTreeWidgetItem*, TreeItem> items_;
    TreeItem selected_;
    bool updating_ = false;  // set while the mirror itself changes the widget
    QObject context_;        // ends queued calls when the mirror goes
    QMetaObject::Connection currentChanged_;
};

}  // namespace anitrope
