#include "app/AboutBox.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ConfiguratorCore.h"
#include "app/TrayIcon.h"
#include "device/WindowMessages.h"
#include "skin/HyperLink.h"

namespace zarvin {

namespace {

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
    setWindowIcon(CTrayIcon::IconOf(TrayIcon::Disconnected));
    description_->setWordWrap(true);
    auto* link = new CHyperLink(this);
    link->SetAddress(linkAddress);
    auto* layout = new QVBoxLayout(this);
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
