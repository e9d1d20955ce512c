#include "app/context_help.h"

#include <QEvent>
#include <QHelpEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QWhatsThis>
#include <QWidget>

#include "app/help_viewer.h"
#include "app/message_boxes.h"

namespace anitrope {
namespace {

constexpr char kHelpId[] = "controlId";

// The control that answers for a widget: itself or the nearest marked parent, so the inner
// line edit of a compound control answers as the control.
QWidget* MarkedControl(QWidget* widget, QWidget* window) {
    for (QWidget* w = widget; w && w != window; w = w->parentWidget()) {
        if (HelpId(w) != 0) return w;
    }
    return nullptr;
}

QString PopupFor(QWidget* control, HelpForm form, HelpViewer* help) {
    if (!control || !help) return {};
    const int topic = HelpTopic(form, HelpId(control));
    if (topic == 0) return {};
    return QString::fromStdString(help->PopupText(topic));
}

// Answers What's This for every marked control of one window.
class WhatsThisFilter final : public QObject {
  public:
    WhatsThisFilter(QWidget* window, HelpForm form, HelpViewer* help)
        : QObject(window), window_(window), form_(form), help_(help) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::QueryWhatsThis && event->type() != QEvent::WhatsThis) {
            return false;
        }
        auto* control = MarkedControl(qobject_cast<QWidget*>(watched), window_);
        if (!control || HelpTopic(form_, HelpId(control)) == 0) return false;
        if (event->type() == QEvent::WhatsThis) {
            const QString text = PopupFor(control, form_, help_);
            if (!text.isEmpty()) {
                QWhatsThis::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, control);
            }
        }
        return true;
    }

  private:
    QWidget* window_;
    HelpForm form_;
    HelpViewer* help_;
};

}  // namespace

void SetHelpId(QWidget* control, int controlId) { control->setProperty(kHelpId, controlId); }

int HelpId(const QWidget* control) { return control ? control->property(kHelpId).toInt() : 0; }

void OpenHelpPage(HelpViewer* help, std::string_view keyword, MessageBoxes& boxes,
                  const std::string& failure) {
    if (help && help->ShowKeyword(std::string(keyword))) return;
    boxes.Tell(failure, "Error", MessageIcon::Warning);
}

bool ShowContextHelp(QWidget* control, HelpForm form, HelpViewer* help) {
    const QString text = PopupFor(control, form, help);
    if (text.isEmpty()) return false;
    QWhatsThis::showText(control->mapToGlobal(control->rect().center()), text, control);
    return true;
}

void InstallContextHelp(QWidget* window, HelpForm form, HelpViewer* help) {
    auto* filter = new WhatsThisFilter(window, form, help);
    for (QWidget* child : window->findChildren<QWidget*>()) child->installEventFilter(filter);

    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window, [window, form, help] {
        ShowContextHelp(MarkedControl(window->focusWidget(), window), form, help);
    });
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), window);
    whatsThis->setContext(Qt::WindowShortcut);
    QObject::connect(whatsThis, &QShortcut::activated, window, [] { QWhatsThis::enterWhatsThisMode(); });
}

}  // namespace anitrope
