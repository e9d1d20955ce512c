#pragma once

#include <QColor>
#include <QDialog>
#include <QImage>

namespace anitrope {

// The logo with "Version %s". As a splash (at start-up) it has no OK button, stays on top
// and closes itself after 1500 ms; from the menu it has an OK button at the bottom.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Splash, Dialog };
    AboutBox(Mode mode, QWidget* parent = nullptr);

    static QString VersionText();
    // The program's name in large letters over a soft shadow, on `background`.
    static QImage TitleImage(QColor background);
    static constexpr int kSplashMilliseconds = 1500;
};

}  // namespace anitrope
