#include "app/AboutBox.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/TrayIcon.h"
#include "control/ConfiguratorCore.h"
#include "device/WindowMessages.h"
#include "skin/ControlStyle.h"
#include "skin/HyperLink.h"

namespace zarvin {

namespace {

constexpr int kIconSize = 48;

QString TextOf(const ConfiguratorCore& core, std::string_view key) {
    return QString::fromStdString(core.Text(key));
}

}  // namespace

AboutBox::AboutBox(ConfiguratorCore& core, const QString& linkAddress, QWidget* parent)
    : QDialog(parent),
      core_(core),
      description_(new QLabel(this)),
      copyright_(new QLabel(this)),
      ok_(new QPushButton(this)) {
    setObjectName(QStringLiteral("AboutBox"));
    StyleControls(*this);
    setWindowIcon(CTrayIcon::IconOf(TrayIcon::Connected));
    // The program's icon, name and version head the box.
    auto* icon = new QLabel(this);
    icon->setPixmap(CTrayIcon::IconOf(TrayIcon::Connected).pixmap(kIconSize, kIconSize));
    auto* name = new QLabel(this);
    name->setObjectName(QStringLiteral("AboutName"));
    name->setText(
        QStringLiteral("Zarvin %1").arg(QApplication::applicationVersion()).trimmed());
    auto* heading = new QHBoxLayout;
    heading->addWidget(icon);
    heading->addWidget(name, 1);
    description_->setWordWrap(true);
    auto* link = new CHyperLink(this);
    link->SetAddress(linkAddress);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 16);
    layout->setSpacing(10);
    layout->addLayout(heading);
    layout->addWidget(description_);
    layout->addWidget(link);
    layout->addWidget(copyright_);
    layout->addWidget(ok_, 0, Qt::AlignRight);
    connect(ok_, &QPushButton::clicked, this, &QDialog::hide);
    setMinimumWidth(360);
    ApplyLanguage();
}

void AboutBox::ApplyLanguage() {
    setWindowTitle(TextOf(core_, "LANG_ABOUT_TITLE"));
    description_->setText(TextOf(core_, "GUANYU_JIESHAO"));
    copyright_->setText(TextOf(core_, "GUANYU_BANQUAN"));
    ok_->setText(TextOf(core_, "LANG_ABOUT_OK"));
}

}  // namespace zarvin
