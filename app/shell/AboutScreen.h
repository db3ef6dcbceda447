#pragma once

#include <QDialog>
#include <QImage>
#include <QUrl>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Ui {
class TAboutForm;
}

// "Verzia programu: " followed by major "." and minor as two digits.
std::string programVersionText(int major, int minor);
// The driver line for the result of the driver library's GetDriverVersion and the version it
// returned (major, minor); empty for a result that has no text.
std::string driverVersionText(std::uint8_t result, const std::array<std::uint8_t, 2>& version);

// A band of the About picture that is darkened behind the texts: rows top..bottom, columns
// left..right at the top row, both side edges slanted by `slant` columns per row, all edges
// blending over `softness` pixels.
struct ShadeBand {
    double top = 0;
    double bottom = 0;
    double left = 0;
    double right = 0;
    double slant = 0;
    double softness = 1;
};
// The brightness factor of a pixel: 0.8 well inside the band, 1 well outside.
double shadeFactor(const ShadeBand& band, double x, double y);
// The program's picture with the About window's two bands darkened.
QImage aboutPicture();

// The About window: the program's picture with the program and driver versions, the maker's
// mail and web addresses (a click hands them to the desktop through openUrl) and "OK".
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    TAboutForm(const std::string& versionLine, const std::string& driverLine,
               std::function<void(const QUrl&)> openUrl, QWidget* parent);
    ~TAboutForm() override;

    static QUrl mailUrl();
    static QUrl webUrl();

private:
    std::unique_ptr<Ui::TAboutForm> ui;
    std::function<void(const QUrl&)> openUrl_;
};
