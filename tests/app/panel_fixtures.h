#pragma once

// Helpers for the panel tests: mouse input sent to real widgets, answers for modal dialogs
// given from inside their own event loop, and small documents.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "model/animation.h"
#include "model/document.h"
#include "model/gif.h"

namespace anitrope::test {

inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
    const QPointF global = widget->mapToGlobal(QPointF(at));
    QMouseEvent event(type, QPointF(at), global, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void Click(QWidget* widget, QPoint at) {
    SendMouse(widget, QEvent::MouseButtonPress, at);
    SendMouse(widget, QEvent::MouseButtonRelease, at);
}

// The events a double click delivers: press, release, double click, release.
inline void DoubleClick(QWidget* widget, QPoint at) {
    Click(widget, at);
    SendMouse(widget, QEvent::MouseButtonDblClick, at);
    SendMouse(widget, QEvent::MouseButtonRelease, at);
}

// Runs `answer` on the next modal dialog of type Dialog as soon as its exec() loop runs.
// `answer` must close the dialog. A dialog of another type fails the test and is rejected, so
// that nothing hangs.
template <typename Dialog>
void WhenModal(std::function<void(Dialog&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (!dialog) {
            ADD_FAILURE() << "expected a modal " << Dialog::staticMetaObject.className() << ", got "
                          << (modal ? modal->metaObject()->className() : "none");
            if (auto* other = qobject_cast<QDialog*>(modal)) other->reject();
            return;
        }
        answer(*dialog);
    });
}

// Runs `action`, which must not open a modal dialog: one that opens fails the test and is
// rejected, so that nothing hangs.
inline void WithoutModal(const std::function<void()>& action) {
    auto checked = std::make_shared<bool>(false);
    QTimer::singleShot(0, [checked] {
        *checked = true;
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "unexpected modal " << dialog->metaObject()->className();
            dialog->reject();
        }
    });
    action();
    // The check runs here when nothing opened.
    while (!*checked) QCoreApplication::processEvents();
}

// The colour of a widget's pixel as 0x00RRGGBB, from what it paints.
inline uint32_t PixelOf(QWidget* widget, QPoint at) {
    const QImage image = widget->grab().toImage();
    return image.pixel(at) & 0xFFFFFF;
}

// The document's animation, for building a test document before a window or panel shows it:
// everything later goes through edits.
inline Animation& Setup(Document& document) { return const_cast<Animation&>(document.Data()); }

// Appends a frame of width x height with its own palette (entry k = {k, 255 - k, 7}) and zero
// pixels.
inline Gif* AppendFrame(Animation& doc, int32_t width = 4, int32_t height = 4) {
    Gif* last = doc.LastFrame();
    Gif* gif = CreateGif(doc, last, nullptr);
    (last ? last->next : doc.head) = gif;
    gif->width = static_cast<uint32_t>(width);
    gif->height = static_cast<uint32_t>(height);
    gif->indexed = std::make_unique<IndexedBitmap>(gif, width, height);
    for (int k = 0; k < kPaletteSlots; ++k) gif->palette[k] = {k, 255 - k, 7};
    doc.screenWidth = std::max(doc.screenWidth, width);
    doc.screenHeight = std::max(doc.screenHeight, height);
    return gif;
}

}  // namespace anitrope::test
