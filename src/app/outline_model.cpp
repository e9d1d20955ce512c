#include "app/outline_model.h"

#include <QImage>
#include <algorithm>

#include "model/animation.h"
#include "model/compositor.h"
#include "model/screen_image.h"

namespace anitrope {
namespace {

constexpr int kPollMs = 120;

bool SameSource(const std::weak_ptr<const ScreenImage>& kept,
                const std::shared_ptr<const ScreenImage>& picture) {
    return !kept.owner_before(picture) && !picture.owner_before(kept) && !kept.expired();
}

}  // namespace

OutlineModel::OutlineModel(const Animation& animation, Compositor* compositor, QObject* parent)
    : QAbstractItemModel(parent),
      animation_(animation),
      compositor_(compositor),
      blank_(kThumbnailWidth, kThumbnailHeight) {
    blank_.fill(Qt::transparent);
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, [this] { PollThumbnails(); });
    Rebuild();
}

OutlineModel::Node* OutlineModel::Add(const OutlineItem& item, Node* parent) {
    Node& node = nodes_.emplace_back();
    node.item = item;
    node.parent = parent;
    if (parent) {
        node.row = static_cast<int>(parent->children.size());
        parent->children.push_back(&node);
    }
    if (item.kind == OutlineKind::Frame) frameNodes_[item.frame] = &node;
    if (item.kind == OutlineKind::Group) groupNodes_[item.group] = &node;
    return &node;
}

void OutlineModel::AddChildren(const Outline& outline, Node* node) {
    for (const OutlineItem& child : outline.Children(node->item)) {
        Node* added = Add(child, node);
        if (child.kind == OutlineKind::Frame || child.kind == OutlineKind::Group)
            AddChildren(outline, added);
    }
}

void OutlineModel::Rebuild() {
    beginResetModel();
    nodes_.clear();
    frameNodes_.clear();
    groupNodes_.clear();
    numbers_.clear();
    const Outline outline(animation_);
    AddChildren(outline, Add(OutlineItem::Root(), nullptr));
    int number = 0;
    for (const Gif* gif = animation_.head; gif; gif = gif->next) numbers_[gif] = ++number;
    std::erase_if(thumbnails_, [this](const auto& entry) { return !frameNodes_.count(entry.first); });
    std::erase_if(waiting_, [this](const Gif* gif) { return !frameNodes_.count(gif); });
    endResetModel();
}

bool OutlineModel::Apply(const DocumentChange& change) {
    if (change.cause == DocumentChange::Cause::Reset || change.Structure() || change.comments) {
        Rebuild();
        return true;
    }
    for (Gif* gif : change.changed) {
        const QModelIndex at = IndexOf(OutlineItem::Frame(gif));
        if (at.isValid()) emit dataChanged(at, at, {Qt::DisplayRole, Qt::ToolTipRole});
    }
    // A picture shows the frames before it: any thumbnail may have changed. Only the rows on
    // view ask again.
    if (change.pictures && !nodes_.empty()) EveryFrameChanged(&nodes_.front());
    return false;
}

void OutlineModel::EveryFrameChanged(const Node* node) {
    if (node->children.empty()) return;
    emit dataChanged(IndexOfNode(node->children.front()), IndexOfNode(node->children.back()),
                     {Qt::DecorationRole});
    for (const Node* child : node->children)
        if (child->item.kind == OutlineKind::Group) EveryFrameChanged(child);
}

void OutlineModel::FramesFreed(std::span<Gif* const> frames) {
    for (const Gif* gif : frames) {
        thumbnails_.erase(gif);
        std::erase(waiting_, gif);
    }
}

const OutlineModel::Node* OutlineModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<const Node*>(index.internalPointer()) : nullptr;
}

QModelIndex OutlineModel::IndexOfNode(const Node* node) const {
    return node ? createIndex(node->row, 0, const_cast<Node*>(node)) : QModelIndex();
}

QModelIndex OutlineModel::IndexOf(const OutlineItem& item) const {
    if (nodes_.empty()) return {};
    switch (item.kind) {
        case OutlineKind::Root: return IndexOfNode(&nodes_.front());
        case OutlineKind::Frame: {
            const auto found = frameNodes_.find(item.frame);
            return found == frameNodes_.end() ? QModelIndex() : IndexOfNode(found->second);
        }
        case OutlineKind::Group: {
            const auto found = groupNodes_.find(item.group);
            return found == groupNodes_.end() ? QModelIndex() : IndexOfNode(found->second);
        }
        case OutlineKind::Comment: {
            const auto found = frameNodes_.find(item.frame);
            if (found == frameNodes_.end() || item.index >= found->second->children.size()) return {};
            return IndexOfNode(found->second->children[item.index]);
        }
        case OutlineKind::GlobalComment: {
            const Node& root = nodes_.front();
            if (item.index >= root.children.size()) return {};
            const Node* node = root.children[item.index];
            return node->item == item ? IndexOfNode(node) : QModelIndex();
        }
    }
    return {};
}

OutlineItem OutlineModel::ItemAt(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    return node ? node->item : OutlineItem::Root();
}

QModelIndex OutlineModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || nodes_.empty()) return {};
    const Node* owner = NodeOf(parent);
    if (!owner) return row == 0 ? IndexOfNode(&nodes_.front()) : QModelIndex();
    if (static_cast<std::size_t>(row) >= owner->children.size()) return {};
    return IndexOfNode(owner->children[static_cast<std::size_t>(row)]);
}

QModelIndex OutlineModel::parent(const QModelIndex& child) const {
    const Node* node = NodeOf(child);
    return node ? IndexOfNode(node->parent) : QModelIndex();
}

int OutlineModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const Node* owner = NodeOf(parent);
    if (!owner) return nodes_.empty() ? 0 : 1;
    return static_cast<int>(owner->children.size());
}

int OutlineModel::columnCount(const QModelIndex&) const { return 1; }

QVariant OutlineModel::data(const QModelIndex& index, int role) const {
    const Node* node = NodeOf(index);
    if (!node) return {};
    const OutlineItem& item = node->item;
    switch (role) {
        case Qt::DisplayRole: {
            const std::string label = Outline(animation_).Label(item);
            return QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
        }
        case Qt::DecorationRole:
            if (item.kind == OutlineKind::Frame) return Decoration(item.frame);
            return {};
        case Qt::ToolTipRole:
            if (item.kind == OutlineKind::Frame) return ToolTip(*item.frame);
            return {};
        case Qt::SizeHintRole:
            // Every row as high as a thumbnail: the view takes one row's height for all.
            return QSize(-1, kThumbnailHeight + 2);
        default: return {};
    }
}

QString OutlineModel::ToolTip(const Gif& gif) const {
    const auto found = numbers_.find(&gif);
    const int number = found == numbers_.end() ? 0 : found->second;
    const bool global = animation_.useAnimationDelay != 0;
    return QString("Image %1 of %2\n%3 x %4 pixels at %5,%6\nDelay %7/100 s%8")
        .arg(number)
        .arg(numbers_.size())
        .arg(gif.width)
        .arg(gif.height)
        .arg(gif.left)
        .arg(gif.top)
        .arg(global ? animation_.animationDelay : gif.delay)
        .arg(global ? " (Global Delay)" : "");
}

QVariant OutlineModel::Decoration(Gif* gif) const {
    if (!compositor_) return blank_;
    Thumb& thumb = thumbnails_[gif];
    if (auto picture = compositor_->CachedDisplayBitmap(*gif)) {
        if (!SameSource(thumb.source, picture)) {
            thumb.pixmap = QPixmap::fromImage(Thumbnail(*picture));
            thumb.source = picture;
        }
        return thumb.pixmap;
    }
    // Composed in the background; the row asks again when the picture is there.
    compositor_->QueueComposition(*gif);
    if (std::find(waiting_.begin(), waiting_.end(), gif) == waiting_.end()) waiting_.push_back(gif);
    if (!poll_.isActive()) poll_.start();
    return thumb.pixmap.isNull() ? blank_ : thumb.pixmap;
}

void OutlineModel::PollThumbnails() {
    std::vector<const Gif*> ready;
    std::erase_if(waiting_, [&](const Gif* gif) {
        if (!frameNodes_.count(gif)) return true;
        if (!compositor_->CachedDisplayBitmap(*gif)) {
            // A job that gave way to an edit is queued again.
            compositor_->QueueComposition(*gif);
            return false;
        }
        ready.push_back(gif);
        return true;
    });
    if (waiting_.empty()) poll_.stop();
    for (const Gif* gif : ready) {
        const QModelIndex at = IndexOf(OutlineItem::Frame(const_cast<Gif*>(gif)));
        if (at.isValid()) emit dataChanged(at, at, {Qt::DecorationRole});
    }
}

QImage OutlineModel::Thumbnail(const ScreenImage& picture) {
    const int32_t w = picture.Width(), h = picture.Height();
    QImage out(kThumbnailWidth, kThumbnailHeight, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    if (w <= 0 || h <= 0) return out;
    // The largest size of the picture's shape that fits, centred.
    const double scale = std::min(static_cast<double>(kThumbnailWidth) / w,
                                  static_cast<double>(kThumbnailHeight) / h);
    const int tw = std::max(1, static_cast<int>(w * scale));
    const int th = std::max(1, static_cast<int>(h * scale));
    const int ox = (kThumbnailWidth - tw) / 2, oy = (kThumbnailHeight - th) / 2;
    for (int ty = 0; ty < th; ++ty) {
        const int32_t y0 = static_cast<int32_t>(int64_t{ty} * h / th);
        const int32_t y1 = std::max(y0 + 1, static_cast<int32_t>(int64_t{ty + 1} * h / th));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(oy + ty));
        for (int tx = 0; tx < tw; ++tx) {
            const int32_t x0 = static_cast<int32_t>(int64_t{tx} * w / tw);
            const int32_t x1 = std::max(x0 + 1, static_cast<int32_t>(int64_t{tx + 1} * w / tw));
            uint64_t r = 0, g = 0, b = 0;
            for (int32_t y = y0; y < y1; ++y) {
                const uint32_t* in = picture.Row(y);
                for (int32_t x = x0; x < x1; ++x) {
                    r += in[x] >> 16 & 0xFF;
                    g += in[x] >> 8 & 0xFF;
                    b += in[x] & 0xFF;
                }
            }
            const uint64_t n = static_cast<uint64_t>(y1 - y0) * static_cast<uint64_t>(x1 - x0);
            row[ox + tx] = qRgb(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
        }
    }
    return out;
}

}  // namespace anitrope
