#include "app/toolkit_translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace uriage {

namespace {
constexpr char kBaseModuleJapanese[] = "qtbase_ja";
}

QStringList toolkitTranslationFolders(const QString& programFolder)
{
    return {QDir(programFolder).filePath(QStringLiteral("translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

QTranslator* installToolkitTranslation()
{
    // The program is Japanese whatever the system's language: the file is
    // named, not chosen by the locale. It lives as long as the application.
    auto* translator = new QTranslator(QCoreApplication::instance());
    for (const QString& folder : toolkitTranslationFolders(QCoreApplication::applicationDirPath())) {
        if (translator->load(QLatin1String(kBaseModuleJapanese), folder)) {
            QCoreApplication::installTranslator(translator);
            return translator;
        }
    }
    delete translator;
    return nullptr;
}

} // namespace uriage
