#pragma once

#include <QFrame>

namespace anitrope {

class Editor;

// Shows the current frame as it looks in the composed animation, as large as the pane allows
// in the animation's own shape, with a dotted rectangle around the frame's own area when it does
// not cover the screen.
class PreviewPane : public QFrame {
    Q_OBJECT
public:
    PreviewPane(Editor& editor, QWidget* parent);
    static constexpr int kBorder = 2;

    // Where a picture of width x height is drawn in `area`.
    static QRect PictureRect(const QRect& area, int32_t width, int32_t height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Editor& editor_;
};

}  // namespace anitrope
