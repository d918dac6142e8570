#include "data/japanese_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace kashidashi {

bool InstallJapaneseTexts() {
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    // One translator for the whole run; installing it twice is harmless.
    static QTranslator* translator = nullptr;
    if (translator) return true;
    auto loaded = std::make_unique<QTranslator>();
    if (!loaded->load(QStringLiteral("qtbase_ja"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    translator = loaded.release();
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace kashidashi
