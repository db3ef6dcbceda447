#include "shell/AboutScreen.h"

#include <algorithm>

#include "shell/MakerContact.h"
#include "shell/SplashPicture.h"
#include "core/UnitFormat.h"
#include "ui_AboutScreen.h"

namespace {

// Where the texts lie: the versions in the middle, the addresses below.
constexpr ShadeBand VersionBand{108, 162, 34, 388, -0.35, 10};
constexpr ShadeBand ContactBand{172, 252, 14, 320, -0.35, 10};

double coverage(double distanceInside, double softness) {
    return std::clamp(distanceInside / softness + 0.5, 0.0, 1.0);
}

QString linkText(const QUrl& url, const char* shown) {
    return QStringLiteral("<a style=\"color:#a8d4ff\" href=\"%1\">%2</a>")
        .arg(url.toString(), QString::fromLatin1(shown));
}

}  // namespace

std::string programVersionText(int major, int minor) {
    return "Verzia programu: " + std::to_string(major) + "." + twoDigits(minor);
}

std::string driverVersionText(std::uint8_t result, const std::array<std::uint8_t, 2>& version) {
    const std::string number = std::to_string(version[0]) + "." + twoDigits(version[1]);
    switch (result) {
        case 0:
            return "Ovladace nie su potrebne.";
        case 1:
            return "Verzia ovladacov KelvoEpb: " + number;
        case 2:
            return "Verzia ovladacov KelvoUsb: " + number;
        case 3:
            return "Ovladace chybaju.";
        default:
            return {};
    }
}

double shadeFactor(const ShadeBand& band, double x, double y) {
    const double shift = (y - band.top) * band.slant;
    const double across = std::min(x - (band.left + shift), (band.right + shift) - x);
    const double down = std::min(y - band.top, band.bottom - y);
    return 1.0 - 0.2 * coverage(across, band.softness) * coverage(down, band.softness);
}

QImage aboutPicture() {
    QImage picture = splashPicture();
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const double factor = shadeFactor(VersionBand, x, y) * shadeFactor(ContactBand, x, y);
            if (factor == 1.0) continue;
            const QRgb pixel = line[x];
            line[x] = qRgb(static_cast<int>(qRed(pixel) * factor),
                           static_cast<int>(qGreen(pixel) * factor),
                           static_cast<int>(qBlue(pixel) * factor));
        }
    }
    return picture;
}

TAboutForm::TAboutForm(const std::string& versionLine, const std::string& driverLine,
                       std::function<void(const QUrl&)> openUrl, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TAboutForm>()), openUrl_(std::move(openUrl)) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    ui->Image1->setPixmap(QPixmap::fromImage(aboutPicture()));
    ui->VersionLabel->setText(QString::fromStdString(versionLine));
    ui->DriverLabel->setText(QString::fromStdString(driverLine));
    ui->MailLabel->setText(linkText(mailUrl(), SupportMailAddress));
    ui->WebLabel->setText(linkText(webUrl(), MakerWebAddress));
    const auto open = [this](const QString& link) {
        if (openUrl_) openUrl_(QUrl(link));
    };
    connect(ui->MailLabel, &QLabel::linkActivated, this, open);
    connect(ui->WebLabel, &QLabel::linkActivated, this, open);
    connect(ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(sizeHint());
}

TAboutForm::~TAboutForm() = default;

QUrl TAboutForm::mailUrl() {
    return QUrl(QStringLiteral("mailto:") + QString::fromLatin1(SupportMailAddress));
}

QUrl TAboutForm::webUrl() {
    return QUrl(QStringLiteral("http://") + QString::fromLatin1(MakerWebAddress));
}
