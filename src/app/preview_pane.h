#pragma once

#include <QFrame>

namespace anitrope {

class Editor;

// Shows the current frame as it looks in the composed animation, stretched to the pane, with
// a dotted rectangle around the frame's own area when it does not cover the screen.
class PreviewPane : public QFrame {
    Q_OBJECT
public:
    PreviewPane(Editor& editor, QWidget* parent);
    static constexpr int kBorder = 2;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Editor& editor_;
};

}  // namespace anitrope
