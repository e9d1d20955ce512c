#pragma once

#include <QObject>

class QFileDialog;
class QLineEdit;
class QSlider;
class QSpinBox;

namespace anitrope {

// The export dialog's "Jpeg Compression" quality, below the file list of a dialog whose two
// types are GIF and JPEG (in that order). Enabled only while JPEG is the type: from the proposed
// name at first, then from the type the user chooses (which also swaps the extension of the
// typed name) or the extension of a file the user picks.
class JpegQualityPanel final : public QObject {
    Q_OBJECT
public:
    JpegQualityPanel(QFileDialog& dialog, int quality, const QString& proposedName);
    int Quality() const;
    bool QualityEnabled() const;

private:
    void TypeChosen(const QString& filter);
    void FilePicked(const QString& path);
    void SetJpeg(bool jpeg);

    QFileDialog& dialog_;
    QSlider* slider_;
    QSpinBox* number_;
};

}  // namespace anitrope
