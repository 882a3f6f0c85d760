#include "form3.h"

#include "designfont.h"
#include "dialogkeys.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>

namespace quorin {
namespace {

const QString kTextPattern = QStringLiteral("*.txt");
const QString kRecordPattern = QStringLiteral("*.chs");

// Where a folder list entry keeps its folder; the shown text is indented.
constexpr int kFolderRole = Qt::UserRole;
// Where a drive list entry keeps its root; the shown text uses the platform's separators.
constexpr int kRootRole = Qt::UserRole;

// Whether the chooser can show the inside of `path`: a folder it may read and, outside
// Windows, search.
bool IsOpenableFolder(const QString& path) {
    const QFileInfo info(path);
    if (!info.isDir() || !info.isReadable())
        return false;
#ifndef Q_OS_WIN
    if (!info.isExecutable())
        return false;
#endif
    return true;
}

// The roots of the drives to choose from: the drives on Windows, elsewhere the mounted
// volumes that are folders (bind-mounted single files are left out), sorted.
QStringList DriveRoots() {
    QStringList roots;
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives())
        roots << drive.filePath();
#else
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots << volume.rootPath();
    }
    roots.sort();
    roots.removeDuplicates();
#endif
    return roots;
}

// The root of the drive holding `path`; for a path on no known volume, the root of its
// own path.
QString DriveRootOf(const QString& path) {
    const QStorageInfo volume(path);
    if (volume.isValid())
        return volume.rootPath();
    QDir dir(path);
    while (!dir.isRoot() && dir.cdUp()) {
    }
    return dir.absolutePath();
}

// The folders from the drive root down to `folder`, root first.
QStringList FolderChain(const QString& folder) {
    QStringList chain;
    QString path = folder;
    for (;;) {
        chain.prepend(path);
        const QString parent = QFileInfo(path).path();
        if (QDir(path).isRoot() || parent == path)
            break;
        path = parent;
    }
    return chain;
}

QString DriveFailure(const QString& root) {
    const QString shown = QDir::toNativeSeparators(root);
    if (!QDir(root).exists())
        return QStringLiteral(
                   "ドライブ「%1」を開けません。ドライブが見つからないか、準備ができていません。")
            .arg(shown);
    return QStringLiteral("ドライブ「%1」を開けません。読み取りが許可されていません。").arg(shown);
}

} // namespace

Form3::Form3(int MnuFlag, const QString& startFolder, ShowMessage showMessage, QWidget* parent)
    : QDialog(parent), mnuFlag_(MnuFlag), showMessage_(std::move(showMessage)),
      pattern_(MnuFlag == kReplay ? kRecordPattern : kTextPattern) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("開く"));
    setModal(true);
    // A fixed tool-window frame: a close box only, no minimise, maximise or resizing.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(509, 273);

    createControls();
    fillDrives();
    if (!setFolder(startFolder))
        setFolder(QDir::rootPath());
    Form_Load();
}

void Form3::createControls() {
    const QFont font = DesignFont(9);

    Label1 = new QLabel(QStringLiteral("ファイル名(&N):"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(font);
    Label1->setGeometry(8, 12, 89, 17);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(font);
    Text1->setGeometry(104, 8, 305, 18);
    Text1->setToolTip(QStringLiteral("ファイル名の手動変更はできません。"));
    Label1->setBuddy(Text1);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setFont(font);
    Drive1->setEditable(false);
    Drive1->setGeometry(8, 48, 217, 20);

    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setFont(font);
    Dir1->setGeometry(8, 80, 217, 174);

    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setFont(font);
    File1->setGeometry(240, 88, 241, 162);

    // Both buttons lie on the same spot; the mode shows one of them. Neither is a default
    // button: Enter presses a button only when it has the focus, and in a list does what
    // the list does (Enter on a folder opens it).
    Command1 = new QPushButton(QStringLiteral("開　く"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(432, 8, 65, 18);
    Command1->setAutoDefault(false);

    Command2 = new QPushButton(QStringLiteral("実　行"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(432, 8, 65, 17);
    Command2->setAutoDefault(false);

    Option1 = new QRadioButton(QStringLiteral(".TXT"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setFont(font);
    Option1->setGeometry(256, 48, 49, 25);

    Option2 = new QRadioButton(QStringLiteral(".CHS"), this);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setFont(font);
    Option2->setGeometry(312, 40, 65, 41);

    QWidget* const order[] = {Text1, Drive1, Dir1, File1, Command1, Command2, Option1, Option2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Only the user's choices count: refilling the lists in code must not choose anything.
    connect(Drive1, &QComboBox::activated, this, [this] { Drive1_Change(); });
    connect(Dir1, &QListWidget::itemActivated, this, &Form3::Dir1_Activate);
    connect(File1, &QListWidget::itemClicked, this, &Form3::File1_Click);
    connect(File1, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* current) { File1_Click(current); });
    connect(Text1, &QLineEdit::textChanged, this, &Form3::Text1_Change);
    connect(Option1, &QRadioButton::clicked, this, &Form3::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &Form3::Option2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
}

void Form3::Form_Load() {
    const bool replay = mnuFlag_ == kReplay;
    Command1->setVisible(!replay);
    Command2->setVisible(replay);
    Option1->setEnabled(!replay);
    Option2->setEnabled(!replay);
    // The pattern was set with the mode; the option that names it is checked.
    Option1->setChecked(!replay);
    Option2->setChecked(replay);
}

void Form3::fillDrives() {
    const QSignalBlocker quiet(Drive1);
    Drive1->clear();
    for (const QString& root : DriveRoots())
        Drive1->addItem(QDir::toNativeSeparators(root), root);
}

void Form3::showDriveOf(const QString& path) {
    const QSignalBlocker quiet(Drive1);
    const QString root = DriveRootOf(path);
    int index = Drive1->findData(root, kRootRole);
    if (index < 0) {
        // A volume the list left out: it is still the drive the folder list shows.
        Drive1->addItem(QDir::toNativeSeparators(root), root);
        index = Drive1->count() - 1;
    }
    Drive1->setCurrentIndex(index);
}

bool Form3::setFolder(const QString& path) {
    if (path.isEmpty() || !IsOpenableFolder(path))
        return false;
    folder_ = QDir::cleanPath(QDir(path).absolutePath());
    showDriveOf(folder_);
    fillFolders();
    fillFiles();
    return true;
}

void Form3::fillFolders() {
    const QSignalBlocker quiet(Dir1);
    Dir1->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const auto indent = [](qsizetype depth) { return QString(2 * depth, u' '); };

    const QStringList chain = FolderChain(folder_);
    for (qsizetype depth = 0; depth < chain.size(); ++depth) {
        const QString& path = chain[depth];
        const QString name =
            depth == 0 ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(open, indent(depth) + name, Dir1);
        item->setData(kFolderRole, path);
    }
    Dir1->setCurrentRow(int(chain.size()) - 1);

    // Hidden folders are left out, as in the file list. A folder list also offers links
    // to pipes and devices; only what is a folder after following links is shown.
    const QFileInfoList subfolders = QDir(folder_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                                 QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& subfolder : subfolders) {
        if (!subfolder.isDir())
            continue;
        auto* item = new QListWidgetItem(closed, indent(chain.size()) + subfolder.fileName(), Dir1);
        item->setData(kFolderRole, subfolder.filePath());
    }
}

void Form3::fillFiles() {
    const QSignalBlocker quiet(File1);
    File1->clear();
    // Name filters match regardless of case: "GAME.CHS" is a record too. Only regular
    // files after following links are offered, as only those are read; a file list also
    // holds links to pipes and devices.
    const QFileInfoList files =
        QDir(folder_).entryInfoList({pattern_}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& file : files) {
        if (file.isFile())
            File1->addItem(file.fileName());
    }
}

void Form3::setPattern(const QString& pattern) {
    pattern_ = pattern;
    fillFiles();
}

QString Form3::JoinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

void Form3::Drive1_Change() {
    const QString root = Drive1->currentData(kRootRole).toString();
    if (root.isEmpty())
        return;
    if (!setFolder(root)) {
        showMessage(DriveFailure(root));
        showDriveOf(folder_);
    }
}

void Form3::Dir1_Activate(QListWidgetItem* item) {
    if (item)
        setFolder(item->data(kFolderRole).toString());
}

void Form3::File1_Click(QListWidgetItem* item) {
    if (!item)
        return;
    SelectedName = item->text();
    Text1->setText(SelectedName);
}

void Form3::Text1_Change() {
    if (Text1->text() != SelectedName)
        Text1->setText(SelectedName);
}

void Form3::Option1_Click() {
    Option1->setChecked(true);
    setPattern(kTextPattern);
}

void Form3::Option2_Click() {
    Option2->setChecked(true);
    setPattern(kRecordPattern);
}

void Form3::Command1_Click() {
    if (Text1->text().isEmpty()) {
        showMessage(QStringLiteral("ファイルを指定してください。"));
        return;
    }
    chosenPath_ = JoinPath(folder_, Text1->text());
    accept();
}

void Form3::Command2_Click() {
    chosenPath_ = Text1->text().isEmpty() ? QString() : JoinPath(folder_, Text1->text());
    accept();
}

void Form3::showMessage(const QString& text) {
    if (showMessage_)
        showMessage_(this, text);
}

void Form3::keyPressEvent(QKeyEvent* event) {
    if (!HandleSideWindowKey(*this, event))
        QDialog::keyPressEvent(event);
}

} // namespace quorin
