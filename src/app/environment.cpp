#include "environment.h"

#include "lazymovesound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QStandardPaths>

namespace quorin {

namespace {

// The folder of the program's own files in the user's home, as a desktop names it.
constexpr const char* kUserFolderName = "Quorin";

bool Holds(const QString& folder, const char* name) {
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(QLatin1String(name))).isFile();
}

// The first of `folders` that holds `name`, or the first folder when none does.
QString FirstHolding(std::initializer_list<QString> folders, const char* name) {
    for (const QString& folder : folders) {
        if (Holds(folder, name))
            return folder;
    }
    return *folders.begin();
}

// `relative` (a path set when the program was built) taken from the program's folder.
QString BesideProgram(const QString& programFolder, const char* relative) {
    return QDir::cleanPath(QDir(programFolder).filePath(QString::fromUtf8(relative)));
}

QString UserFolder(QStandardPaths::StandardLocation location) {
    const QString base = QStandardPaths::writableLocation(location);
    return base.isEmpty() ? QString() : QDir(base).filePath(QLatin1String(kUserFolderName));
}

} // namespace

Environment Environment::Default() {
    Environment env;
    env.programFolder = QCoreApplication::applicationDirPath();
    env.workingFolder = QDir::currentPath();
    env.dataFolder = BesideProgram(env.programFolder, QUORIN_DATA_FROM_PROGRAM);
    env.libraryFolder = BesideProgram(env.programFolder, QUORIN_LIBRARY_FROM_PROGRAM);
    env.userConfigFolder = UserFolder(QStandardPaths::GenericConfigLocation);
    env.userDataFolder = UserFolder(QStandardPaths::GenericDataLocation);
    env.showMessage = [](QWidget* parent, const QString& text) -> QWidget* {
        auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Quorin"), text,
                                    QMessageBox::Ok, parent);
        // Texts from the peer and from files are shown as they are: markup is never
        // interpreted, so no text can make the box load a file or style itself.
        box->setTextFormat(Qt::PlainText);
        // The player can select and copy the text, e.g. an error to pass on.
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box->setAttribute(Qt::WA_DeleteOnClose);
        // Modal, but without a message loop of its own: nothing waits for the OK.
        box->setWindowModality(Qt::ApplicationModal);
        box->show();
        return box;
    };
    env.askText = [](QWidget* parent, const QString& prompt) {
        return QInputDialog::getText(parent, QString(), prompt);
    };
    env.askYesNo = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quorin"), text,
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.setTextFormat(Qt::PlainText);
        // Enter alone replaces nothing.
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    };
    env.makeRouter = MakeHomeRouter;
    env.makeMoveSound = [folder = env.soundLibraryFolder()] {
        return std::make_unique<LazyMoveSound>(folder);
    };
    return env;
}

bool Environment::installed() const {
    return !dataFolder.isEmpty() && QFileInfo(dataFolder).isDir();
}

QString Environment::picturesFolder() const {
    // The pawn's picture gives every piece its size, so the set comes from one folder.
    return FirstHolding({workingFolder, dataFolder, programFolder}, "po1.bmp");
}

QString Environment::moveSoundFile() const {
    return QDir(FirstHolding({workingFolder, dataFolder, programFolder}, "C.wav"))
        .filePath(QStringLiteral("C.wav"));
}

QString Environment::soundLibraryFolder() const {
    return installed() ? libraryFolder : programFolder;
}

QString Environment::addressListFolder() const {
    for (const QString& folder : {programFolder, userConfigFolder}) {
        if (Holds(folder, "Virir.txt"))
            return folder;
    }
    return dataFolder;
}

QString Environment::recordFolder() const {
    const QFileInfo program(programFolder);
    if (!installed() && program.isDir() && program.isWritable())
        return programFolder;
    return userDataFolder;
}

QString Environment::savedRecordFolder(const QString& name) const {
    const bool bare = !name.contains(QLatin1Char('/')) && !name.contains(QDir::separator());
    return bare ? recordFolder() : workingFolder;
}

QString Environment::replayChooserFolder() const {
    const QString records = recordFolder();
    return QFileInfo(records).isDir() ? records : workingFolder;
}

} // namespace quorin
