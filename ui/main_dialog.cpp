#include "ui/main_dialog.h"

#include <QAction>
#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <functional>
#include <optional>

#include "commands/background_commands.h"
#include "core/channel_tables.h"
#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "core/label_texts.h"
#include "core/window_services.h"
#include "pictures/picture_file.h"
#include "quorvel_version.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "ui/about_dialog.h"
#include "ui/app_resources.h"
#include "ui/help_page.h"
#include "ui/preview_image.h"
#include "ui/qt_file_dialogs.h"
#include "ui/sprite_list_tabs.h"
#include "ui/working_folder.h"

namespace quorvel {

namespace {

MainDialog* instance = nullptr;

// The window's size in dialog units.
constexpr int kWidthUnits = 287;
constexpr int kHeightUnits = 161;

enum class ControlKind { Radio, Text, List, Button };

struct ControlTemplate {
    ControlKind kind;
    const char* name;  // object name, by which tests and style sheets find the control
    const char* text;
    int left, top, width, height;  // dialog units
};

// In creation order, which is also the tab order of those that take the focus by Tab: the
// list and the push buttons. The radio buttons and texts are skipped by Tab. The region left
// of x = 140 and above y = 130 is kept free for the preview.
constexpr ControlTemplate kControls[] = {
    {ControlKind::Radio, "nearestColor", "Nearest Color", 145, 135, 65, 10},
    {ControlKind::Radio, "diffusionDither", "Diffusion Dither", 145, 145, 65, 10},
    {ControlKind::Text, "spriteHeading", "SPR File", 200, 0, 80, 8},
    {ControlKind::List, "spriteList", "", 200, 20, 80, 70},
    {ControlKind::Text, "countLabel", "0 images", 200, 10, 80, 8},
    {ControlKind::Button, "copySprite", "<-", 140, 65, 20, 20},
    {ControlKind::Button, "insertSprite", "Insert ->", 160, 55, 35, 20},
    {ControlKind::Button, "loadSprites", "Load", 200, 105, 40, 14},
    {ControlKind::Button, "saveSprites", "Save", 240, 105, 40, 14},
    {ControlKind::Button, "loadBitmap", "Load", 15, 140, 50, 14},
    {ControlKind::Button, "saveBitmap", "Save", 75, 140, 50, 14},
    {ControlKind::Text, "imageLabel", "(no image)", 5, 130, 130, 8},
    {ControlKind::Button, "deleteSprite", "Delete Sprite", 200, 90, 80, 14},
    {ControlKind::Text, "paletteHeading", "Palette options:", 145, 120, 65, 8},
    {ControlKind::Button, "addSprite", "Add ->", 160, 75, 35, 20},
};

QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.push_back(url.toLocalFile());
        }
    }
    return files;
}

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

MainDialog::MainDialog(std::unique_ptr<FileDialogs> fileDialogs)
    : fileDialogs_(fileDialogs ? std::move(fileDialogs) : std::make_unique<QtFileDialogs>(this)) {
    instance = this;
    InitResources();
    setObjectName(QStringLiteral("mainDialog"));
    setWindowTitle(QStringLiteral("quorvel " QUORVEL_SHORT_VERSION));
    // A top-level window of its own, so it has a task-bar entry, with a minimise box and no
    // maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(ApplicationIcon());
    setFont(DialogFont());
    base_ = BaseUnitsOf(font());
    setFixedSize(DialogSize(kWidthUnits, kHeightUnits, base_));
    setAcceptDrops(true);

    CreateControls();
    CreateShortcuts();
    BuildChannelTables();
    RefreshChoice();
    list_->setFocus(Qt::OtherFocusReason);
}

MainDialog::~MainDialog() {
    if (instance == this) {
        instance = nullptr;
    }
}

MainDialog* MainDialog::Instance() {
    return instance;
}

void MainDialog::CreateControls() {
    choice_ = new QButtonGroup(this);
    for (const ControlTemplate& control : kControls) {
        const QString text = QString::fromUtf8(control.text);
        QWidget* widget = nullptr;
        switch (control.kind) {
            case ControlKind::Radio: {
                auto* radio = new QRadioButton(text, this);
                radio->setFocusPolicy(Qt::ClickFocus);
                choice_->addButton(radio, static_cast<int>(choice_->buttons().size()));
                widget = radio;
                break;
            }
            case ControlKind::Text: {
                auto* label = new QLabel(text, this);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
                widget = label;
                break;
            }
            case ControlKind::List: {
                list_ = new QListWidget(this);
                list_->setSortingEnabled(false);
                list_->setSelectionMode(QAbstractItemView::SingleSelection);
                list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
                list_->setDragEnabled(false);
                list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
                list_->setItemDelegate(
                    new TabStopDelegate(DialogUnitsToPixelsX(kListTabStopUnits, base_), list_));
                widget = list_;
                break;
            }
            case ControlKind::Button: {
                auto* button = new QPushButton(text, this);
                // No button is the default: Enter clicks the focused button and otherwise
                // closes the window.
                button->setAutoDefault(false);
                button->setDefault(false);
                widget = button;
                break;
            }
        }
        widget->setObjectName(QString::fromUtf8(control.name));
        widget->setGeometry(
            DialogRect(control.left, control.top, control.width, control.height, base_));
    }
    imageLabel_ = findChild<QLabel*>(QStringLiteral("imageLabel"));
    countLabel_ = findChild<QLabel*>(QStringLiteral("countLabel"));

    const auto onClick = [this](const char* name, auto command) {
        connect(findChild<QPushButton*>(QString::fromUtf8(name)), &QPushButton::clicked, this,
                command);
    };
    onClick("loadBitmap", [this] { OnLoadBitmap(); });
    onClick("saveBitmap", [this] { OnSaveBitmap(); });
    onClick("loadSprites", [this] { OnLoadSprites(); });
    onClick("saveSprites", [this] { OnSaveSprites(); });
    onClick("addSprite", [] { AddSprite(); });
    onClick("insertSprite", [] { InsertSprite(); });
    onClick("deleteSprite", [] { DeleteSprite(); });
    onClick("copySprite", [] { CopySpriteToImage(); });
}

void MainDialog::CreateShortcuts() {
    aboutAction_ = new QAction(QStringLiteral("&About quorvel..."), this);
    aboutAction_->setObjectName(QStringLiteral("aboutAction"));
    connect(aboutAction_, &QAction::triggered, this, &MainDialog::ShowAbout);
    // Off with every new window; never kept anywhere.
    keepBlackAction_ = new QAction(QStringLiteral("Keep &Black Visible"), this);
    keepBlackAction_->setObjectName(QStringLiteral("keepBlackAction"));
    keepBlackAction_->setCheckable(true);

    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &MainDialog::ShowHelp);

    // The keyboard's ways to the window menu, opened at the control that has the focus.
    const auto menuAtFocus = [this] {
        QWidget* anchor = focusWidget() != nullptr ? focusWidget() : this;
        ShowWindowMenu(anchor->mapToGlobal(anchor->rect().center()));
    };
    for (const QKeySequence& keys :
         {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, menuAtFocus);
    }
}

// ----- File commands

void MainDialog::OnLoadBitmap() {
    ReadChoice();
    const QString path = fileDialogs_->Choose({FileKind::Picture, FileAction::Open});
    if (NamesAFile(path)) {
        LoadPictureFrom(path);
    }
}

void MainDialog::OnSaveBitmap() {
    WithChosenFile(FileKind::Picture, FileAction::Save, SavePictureFile);
}

void MainDialog::OnLoadSprites() {
    if (!MayDiscardSprites()) {
        return;
    }
    const QString path = fileDialogs_->Choose({FileKind::Sprite, FileAction::Open});
    if (NamesAFile(path)) {
        LoadSpritesFrom(path);
    }
}

void MainDialog::OnSaveSprites() {
    WithChosenFile(FileKind::Sprite, FileAction::Save, SaveSpriteFile);
}

void MainDialog::OnMakeBackground() {
    ReadChoice();
    RunMakeBackground(std::bind_front(&MainDialog::WithChosenFile, this), conversionMode_,
                      blackHandling_);
}

void MainDialog::OnExportBackground() {
    RunExportBackground(std::bind_front(&MainDialog::WithChosenFile, this));
}

void MainDialog::WithChosenFile(FileKind kind, FileAction action,
                                const std::function<void(const std::string& name)>& operation) {
    const QString path = fileDialogs_->Choose({kind, action});
    if (NamesAFile(path)) {
        RunInFolderOf(path, action, operation);
    }
}

void MainDialog::LoadPictureFrom(const QString& path) {
    RunInFolderOf(path, FileAction::Open, [this](const std::string& name) {
        LoadPictureFile(name, conversionMode_, blackHandling_);
    });
    // Also after a rejected file, then showing the unchanged image.
    const IndexedImage& image = CurrentImage();
    SetImageLabel(Utf8(ImageLabelFor(image.width, image.height)));
    RefreshChoice();
}

void MainDialog::LoadSpritesFrom(const QString& path) {
    RunInFolderOf(path, FileAction::Open, LoadSpriteFile);
    SetCountLabel(Utf8(CountLabel(CurrentSpriteSet().count)));
}

void MainDialog::OpenDroppedFile(const QString& path) {
    const std::optional<FileKind> kind = KindOfFileName(BareFileName(path));
    if (!kind) {
        quorvel::ShowFileError(CannotLoadKind(BareFileName(path)));
        return;
    }
    if (*kind == FileKind::Picture) {
        ReadChoice();
        LoadPictureFrom(path);
    } else if (MayDiscardSprites()) {
        LoadSpritesFrom(path);
    }
}

bool MainDialog::MayDiscardSprites() {
    if (!HasUnsavedSprites()) {
        return true;
    }
    QMessageBox question(QMessageBox::Question, QStringLiteral("quorvel"),
                         Utf8(DiscardUnsavedSpritesQuestion()), QMessageBox::Yes | QMessageBox::No,
                         this);
    question.setObjectName(QStringLiteral("discardQuestion"));
    question.setTextFormat(Qt::PlainText);
    question.setDefaultButton(QMessageBox::No);
    question.setEscapeButton(QMessageBox::No);
    return question.exec() == QMessageBox::Yes;
}

void MainDialog::done(int result) {
    // Escape, Enter, Close on the window menu, the close box and the window manager all reach
    // here: the key handling calls reject() and QDialog's closeEvent does too, keeping the
    // window open when this returns without closing it.
    if (MayDiscardSprites()) {
        QDialog::done(result);
    }
}

void MainDialog::ReadChoice() {
    conversionMode_ = choice_->checkedId() == static_cast<int>(ConversionMode::Dither)
                          ? ConversionMode::Dither
                          : ConversionMode::Nearest;
    blackHandling_ =
        keepBlackAction_->isChecked() ? BlackHandling::KeepVisible : BlackHandling::AsSearched;
}

// ----- Window services

void MainDialog::RequestRepaint() {
    update(PreviewRect());
}

int MainDialog::SelectedLine() const {
    const QModelIndexList selected = list_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

void MainDialog::ClearLines() {
    list_->clear();
}

void MainDialog::AppendLine(const QString& text) {
    auto* item = new QListWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    list_->addItem(item);
}

void MainDialog::DeleteLine(int index) {
    if (index < 0 || index >= list_->count()) {
        return;
    }
    const bool wasSelected = list_->item(index)->isSelected();
    delete list_->takeItem(index);
    // Qt's list moves the selection to a neighbour of a removed selected line; a line's
    // selection goes with it.
    if (wasSelected) {
        list_->clearSelection();
    }
}

void MainDialog::SelectLine(int index) {
    if (index < 0 || index >= list_->count()) {
        return;
    }
    list_->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

void MainDialog::SetCountLabel(const QString& text) {
    countLabel_->setText(text);
}

void MainDialog::SetImageLabel(const QString& text) {
    imageLabel_->setText(text);
}

void MainDialog::RefreshChoice() {
    choice_->button(static_cast<int>(conversionMode_))->setChecked(true);
}

// ----- Window menu, About, Help

void MainDialog::ShowWindowMenu(const QPoint& globalPosition) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("windowMenu"));
    menu.addAction(QStringLiteral("Mi&nimize"), this, &QWidget::showMinimized);
    menu.addAction(QStringLiteral("&Close"), this, &QWidget::close);
    menu.addSeparator();
    menu.addAction(keepBlackAction_);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Make &Background File..."), this, &MainDialog::OnMakeBackground);
    menu.addAction(QStringLiteral("&Export Background Picture..."), this,
                   &MainDialog::OnExportBackground);
    menu.addSeparator();
    menu.addAction(aboutAction_);
    menu.exec(globalPosition);
}

void MainDialog::ShowAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainDialog::ShowHelp() {
    ShowHelpPage(this);
}

// ----- Events

void MainDialog::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintPreview(painter, CurrentImage());
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            reject();
        }
        return;
    }
    QDialog::keyPressEvent(event);  // Escape closes
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) {
    ShowWindowMenu(event->globalPos());
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainDialog::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // Loading may show a message box; run it once the drop has finished, not inside it.
    const QString path = files.constFirst();
    QMetaObject::invokeMethod(
        this, [this, path] { OpenDroppedFile(path); }, Qt::QueuedConnection);
}

}  // namespace quorvel
