#include "app/QtDialogTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>

namespace zarvin {

bool QtDialogTexts::Use(std::string_view localeName) {
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    if (localeName == "en") {
        return true;
    }
    auto translator = std::make_unique<QTranslator>();
    const QString name = QStringLiteral("qtbase_") +
                         QString::fromUtf8(localeName.data(), static_cast<qsizetype>(localeName.size()));
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
    return true;
}

}  // namespace zarvin
