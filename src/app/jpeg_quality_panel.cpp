#include "app/jpeg_quality_panel.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>

#include "app/context_help.h"

namespace anitrope {
namespace {

constexpr int kJpegType = 1;

bool HasExtension(const QString& name, const char* extension) {
    return QFileInfo(name).suffix().compare(extension, Qt::CaseInsensitive) == 0;
}

}  // namespace

JpegQualityPanel::JpegQualityPanel(QFileDialog& dialog, int quality, const QString& proposedName)
    : QObject(&dialog), dialog_(dialog) {
    auto* box = new QGroupBox(&dialog);
    auto* row = new QHBoxLayout(box);
    slider_ = new QSlider(Qt::Horizontal, box);
    slider_->setObjectName("jpegQualitySlider");
    slider_->setRange(0, 100);
    slider_->setTickInterval(10);
    slider_->setTickPosition(QSlider::TicksBelow);
    number_ = new QSpinBox(box);
    SetHelpId(slider_, 1000);
    SetHelpId(number_, 1001);
    number_->setObjectName("jpegQualityNumber");
    number_->setRange(0, 100);
    row->addWidget(new QLabel("Jpeg Compression", box));
    row->addWidget(slider_, 1);
    row->addWidget(number_);
    connect(slider_, &QSlider::valueChanged, number_, &QSpinBox::setValue);
    connect(number_, &QSpinBox::valueChanged, slider_, &QSlider::setValue);
    slider_->setValue(quality);
    number_->setValue(quality);
    SetJpeg(HasExtension(proposedName, "jpg"));
    connect(&dialog, &QFileDialog::filterSelected, this, &JpegQualityPanel::TypeChosen);
    connect(&dialog, &QFileDialog::currentChanged, this, &JpegQualityPanel::FilePicked);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
}

int JpegQualityPanel::Quality() const { return slider_->value(); }

bool JpegQualityPanel::QualityEnabled() const { return slider_->isEnabled(); }

void JpegQualityPanel::SetJpeg(bool jpeg) {
    slider_->setEnabled(jpeg);
    number_->setEnabled(jpeg);
}

void JpegQualityPanel::TypeChosen(const QString& filter) {
    const bool jpeg = dialog_.nameFilters().indexOf(filter) == kJpegType;
    SetJpeg(jpeg);
    auto* name = dialog_.findChild<QLineEdit*>("fileNameEdit");
    if (!name) return;
    const QString text = name->text();
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || HasExtension(text, jpeg ? "jpg" : "gif")) return;
    name->setText(text.left(dot) + (jpeg ? ".JPG" : ".GIF"));
}

void JpegQualityPanel::FilePicked(const QString& path) {
    const bool jpeg = HasExtension(path, "jpg");
    if (!jpeg && !HasExtension(path, "gif")) return;
    const QStringList filters = dialog_.nameFilters();
    if (filters.size() > kJpegType) dialog_.selectNameFilter(filters[jpeg ? kJpegType : 0]);
    SetJpeg(jpeg);
}

}  // namespace anitrope
