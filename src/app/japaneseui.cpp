#include "japaneseui.h"

#include "records/designfont.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quorin {
namespace {

constexpr char kQtTranslation[] = "qtbase_ja";

} // namespace

void UseJapaneseUi() {
    QCoreApplication* app = QCoreApplication::instance();
    const QString name = QString::fromLatin1(kQtTranslation);
    if (!app || app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly))
        return;
    // Owned by the application, which it serves as long as it runs.
    auto* qtTexts = new QTranslator(app);
    qtTexts->setObjectName(name);
    if (qtTexts->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexts);

    QApplication::setFont(UserInterfaceFont(QApplication::font()));
}

} // namespace quorin
