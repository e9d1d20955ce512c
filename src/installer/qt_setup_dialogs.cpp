#include "installer/qt_setup_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <cstdlib>

#include "installer/setup_messages.h"

namespace anitrope {
namespace {

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

int QtSetupDialogs::Show(const MessageRequest& message) {
    QMessageBox box(QtIcon(message.icon), Q(message.title), Q(message.text), QMessageBox::NoButton,
                    parent_);
    std::vector<QPushButton*> buttons;
    for (const std::string& label : message.buttons)
        buttons.push_back(box.addButton(Q(label), QMessageBox::ActionRole));
    if (!buttons.empty()) box.setDefaultButton(buttons.front());
    // The titles carry the message as much as the texts do ("Couldn't open the file -
    // CONTINUE ?" over a path): keep the box wide enough for the window manager to show it.
    const int titleWidth = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 100;
    box.setStyleSheet(QString("QLabel#qt_msgbox_label { min-width: %1px; }").arg(titleWidth));
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return static_cast<int>(i);
    return -1;
}

std::optional<std::string> QtSetupDialogs::ChooseFolder(const std::string& title,
                                                        const std::string& start) {
    const QString folder = QFileDialog::getExistingDirectory(parent_, Q(title), Q(start));
    if (folder.isEmpty()) return std::nullopt;
    return folder.toStdString();
}

QtExtractProgress::~QtExtractProgress() { Close(); }

void QtExtractProgress::Open(int maximum) {
    Close();
    box_ = new QDialog(parent_);
    box_->setWindowTitle(setup_text::kExtracting);
    auto* layout = new QVBoxLayout(box_);
    layout->addWidget(new QLabel(setup_text::kExtracting, box_));
    file_ = new QLabel(box_);
    target_ = new QLabel(box_);
    bar_ = new QProgressBar(box_);
    bar_->setRange(0, maximum);
    bar_->setValue(0);
    layout->addWidget(file_);
    layout->addWidget(target_);
    layout->addWidget(bar_);
    box_->setMinimumWidth(460);
    box_->show();
    QApplication::processEvents();
}

void QtExtractProgress::Step(int value, const std::string& file, const std::string& target) {
    if (!box_) return;
    bar_->setValue(value);
    file_->setText(Q(file));
    target_->setText(QString(setup_text::kTo).arg(Q(target)));
    QApplication::processEvents();
}

void QtExtractProgress::Close() {
    delete box_;
    box_ = nullptr;
}

QtSettingsWriter::QtSettingsWriter() {
    const char* path = std::getenv("ANITROPE_SETTINGS");
    settings_ = path && *path ? new QSettings(QString::fromLocal8Bit(path), QSettings::IniFormat)
                              : new QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                              "Software", "Anitrope");
}

QtSettingsWriter::~QtSettingsWriter() { delete settings_; }

void QtSettingsWriter::WriteText(const std::string& name, const std::string& value) {
    settings_->setValue(Q(name), Q(value));
    settings_->sync();
}

}  // namespace anitrope
