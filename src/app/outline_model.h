#pragma once

#include <QAbstractItemModel>
#include <QPixmap>
#include <QTimer>
#include <deque>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "model/document_change.h"
#include "model/outline.h"

namespace anitrope {

class Compositor;
class ScreenImage;

// The document tree as Qt's item model: one row per item of the document's outline ("Root",
// global comments, frames with their comments, groups), each pointing at what it stands for.
// It holds no document data of its own: labels are read from the frames when asked, and the
// rows are built again from the outline whenever frames or comments come or go.
//
// Frames show a small thumbnail of their display picture, made from the compositor's current
// picture when there is one; otherwise a composition is queued and the thumbnail comes a
// moment later, so showing the tree never waits for a picture. Tooltips give the frame's
// number, size and delay.
class OutlineModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    static constexpr int kThumbnailWidth = 32;
    static constexpr int kThumbnailHeight = 24;

    OutlineModel(const Animation& animation, Compositor* compositor, QObject* parent = nullptr);

    // Rows again from the outline.
    void Rebuild();
    // Follows a change of the document: new rows after a change of frames or comments (true
    // then), new texts and thumbnails otherwise.
    bool Apply(const DocumentChange& change);

    // The frames are about to be freed: nothing of theirs may stay.
    void FramesFreed(std::span<Gif* const> frames);

    QModelIndex IndexOf(const OutlineItem& item) const;
    // The item a row stands for; the root for an invalid index.
    OutlineItem ItemAt(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The thumbnail of a picture: scaled to fit kThumbnailWidth x kThumbnailHeight, keeping its
    // aspect ratio, each pixel the mean of the picture's pixels it covers.
    static QImage Thumbnail(const ScreenImage& picture);

private:
    struct Node {
        OutlineItem item;
        Node* parent = nullptr;
        int row = 0;
        std::vector<Node*> children;
    };
    struct Thumb {
        QPixmap pixmap;
        std::weak_ptr<const ScreenImage> source;  // the picture it was made from
    };

    Node* Add(const OutlineItem& item, Node* parent);
    void AddChildren(const Outline& outline, Node* node);
    const Node* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOfNode(const Node* node) const;
    QVariant Decoration(Gif* gif) const;
    QString ToolTip(const Gif& gif) const;
    void PollThumbnails();
    void EveryFrameChanged(const Node* node);

    const Animation& animation_;
    Compositor* compositor_;
    std::deque<Node> nodes_;  // stable addresses; node 0 is the root
    std::unordered_map<const Gif*, Node*> frameNodes_;
    std::unordered_map<const FrameGroup*, Node*> groupNodes_;
    std::unordered_map<const Gif*, int> numbers_;  // frame numbers from 1, in list order
    mutable std::unordered_map<const Gif*, Thumb> thumbnails_;
    mutable std::vector<const Gif*> waiting_;  // asked for while their picture was composed
    mutable QTimer poll_;
    QPixmap blank_;
};

}  // namespace anitrope
