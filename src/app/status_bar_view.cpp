#include "app/status_bar_view.h"

#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QStatusBar>
#include <QThread>

namespace anitrope {

StatusBarView::StatusBarView(QStatusBar& bar) : QObject(&bar) {
    label_ = new QLabel("Anitrope", &bar);
    text_ = new QLabel("Idle", &bar);
    bar_ = new QProgressBar(&bar);
    label_->setObjectName("statusLabel");
    text_->setObjectName("statusText");
    bar_->setObjectName("Progress Bar");
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar.addWidget(label_);
    bar.addWidget(text_);
    bar.addWidget(bar_, 1);
}

void StatusBarView::OnOwnThread(std::function<void()> update, bool mayBlock) {
    if (QThread::currentThread() == thread() && mayBlock) {
        update();
        return;
    }
    QMetaObject::invokeMethod(this, std::move(update), Qt::QueuedConnection);
}

void StatusBarView::ShowStatusText(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    OnOwnThread([this, shown] { text_->setText(shown); }, true);
}

void StatusBarView::ShowProgress(int percent, bool posted) {
    OnOwnThread([this, percent] { bar_->setValue(percent); }, !posted);
}

void StatusBarView::ShowLabel(const QString& text) { label_->setText(text); }

void StatusBarView::LayOut(int width) {
    const int first = width - 2 * (width / 4) - 16;
    const int second = width - width / 4 - 8;
    label_->setFixedWidth(std::max(0, first));
    text_->setFixedWidth(std::max(0, second - first));
}

}  // namespace anitrope
