#include "ui/qt/main_dialog.h"

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

#include "core/indexed_image.h"
#include "quorvel_version.h"
#include "ui/commands/window_menu.h"
#include "ui/qt/about_dialog.h"
#include "ui/qt/app_resources.h"
#include "ui/qt/help_page.h"
#include "ui/qt/preview_image.h"
#include "ui/qt/qt_file_dialogs.h"
#include "ui/qt/qt_keys.h"
#include "ui/qt/sprite_list_tabs.h"

namespace quorvel {

namespace {

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

// The window menu's "Keep Black Visible", its other items and the Edit submenu's items get
// their keys shown after a tab, as the text has them.
QString MenuText(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace

MainDialog::MainDialog(std::unique_ptr<FileDialogs> fileDialogs)
    : fileDialogs_(fileDialogs ? std::move(fileDialogs) : std::make_unique<QtFileDialogs>(this)) {
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
    ConnectButtons();
    CreateShortcuts();
    commands_.RefreshChoice();
    list_->setFocus(Qt::OtherFocusReason);
}

MainDialog::~MainDialog() = default;

QWidget* MainDialog::CreateControl(int kind, const QString& text) {
    switch (static_cast<ControlKind>(kind)) {
        case ControlKind::Radio: {
            auto* radio = new QRadioButton(text, this);
            radio->setFocusPolicy(Qt::ClickFocus);
            choice_->addButton(radio, static_cast<int>(choice_->buttons().size()));
            return radio;
        }
        case ControlKind::Text: {
            auto* label = new QLabel(text, this);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            return label;
        }
        case ControlKind::List:
            list_ = new QListWidget(this);
            list_->setSortingEnabled(false);
            list_->setSelectionMode(QAbstractItemView::SingleSelection);
            list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
            list_->setDragEnabled(false);
            list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            list_->setItemDelegate(
                new TabStopDelegate(DialogUnitsToPixelsX(kListTabStopUnits, base_), list_));
            return list_;
        case ControlKind::Button: {
            auto* button = new QPushButton(text, this);
            // No button is the default: Enter clicks the focused button and otherwise closes
            // the window.
            button->setAutoDefault(false);
            button->setDefault(false);
            return button;
        }
    }
    return nullptr;
}

void MainDialog::CreateControls() {
    choice_ = new QButtonGroup(this);
    for (const ControlTemplate& control : kControls) {
        QWidget* widget =
            CreateControl(static_cast<int>(control.kind), QString::fromUtf8(control.text));
        widget->setObjectName(QString::fromUtf8(control.name));
        widget->setGeometry(
            DialogRect(control.left, control.top, control.width, control.height, base_));
        // The Edit commands' keys reach the window before the control that has the focus.
        widget->installEventFilter(this);
    }
    imageLabel_ = findChild<QLabel*>(QStringLiteral("imageLabel"));
    countLabel_ = findChild<QLabel*>(QStringLiteral("countLabel"));
}

void MainDialog::ConnectButtons() {
    using C = WindowCommands;
    const std::pair<const char*, void (C::*)()> buttons[] = {
        {"loadBitmap", &C::OnLoadBitmap},     {"saveBitmap", &C::OnSaveBitmap},
        {"loadSprites", &C::OnLoadSprites},   {"saveSprites", &C::OnSaveSprites},
        {"addSprite", &C::OnAddSprite},       {"insertSprite", &C::OnInsertSprite},
        {"deleteSprite", &C::OnDeleteSprite}, {"copySprite", &C::OnCopySpriteToImage},
    };
    for (const auto& [name, command] : buttons) {
        connect(findChild<QPushButton*>(QString::fromUtf8(name)), &QPushButton::clicked, this,
                [this, command = command] { (commands_.*command)(); });
    }
}

void MainDialog::CreateShortcuts() {
    // Off with every new window; never kept anywhere.
    keepBlackAction_ = new QAction(MenuText(kKeepBlackItem), this);
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

void MainDialog::OpenDroppedFile(const QString& path) {
    const QFileInfo file(path);
    commands_.OpenDroppedFile({file.absolutePath().toStdString(), file.fileName().toStdString()});
}

void MainDialog::done(int result) {
    // Escape, Enter, Close on the window menu, the close box and the window manager all reach
    // here: the key handling calls reject() and QDialog's closeEvent does too, keeping the
    // window open when this returns without closing it.
    if (commands_.MayClose()) {
        QDialog::done(result);
    }
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
    AddEditMenu(menu);
    menu.addSeparator();
    menu.addAction(MenuText(kMakeBackgroundItem), this, [this] { commands_.OnMakeBackground(); });
    menu.addAction(MenuText(kExportBackgroundItem), this,
                   [this] { commands_.OnExportBackground(); });
    menu.addSeparator();
    menu.addAction(MenuText(kImportSheetItem), this, [this] { commands_.OnImportSheet(); });
    menu.addAction(MenuText(kExportSheetItem), this, [this] { commands_.OnExportSheet(); });
    menu.addAction(MenuText(kExportPaletteItem), this, [this] { commands_.OnExportPalette(); });
    menu.addSeparator();
    menu.addAction(MenuText(kAboutItem), this, &MainDialog::ShowAbout);
    menu.exec(globalPosition);
}

void MainDialog::AddEditMenu(QMenu& menu) {
    QMenu* edit = menu.addMenu(MenuText(kEditMenuText));
    edit->setObjectName(QStringLiteral("editMenu"));
    for (const EditMenuItem& item : kEditMenu) {
        if (item.command == EditCommand::None) {
            edit->addSeparator();
            continue;
        }
        QAction* action = edit->addAction(
            MenuText(item.text), this, [this, item] { RunEditCommand(commands_, item.command); });
        action->setEnabled(CanRunEditCommand(commands_, item.command));
    }
}

void MainDialog::ShowAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainDialog::ShowHelp() {
    ShowHelpPage(this);
}

// ----- Events

bool MainDialog::RunKey(const QKeyEvent& event) {
    const bool listHasFocus = focusWidget() == list_;
    return RunEditKey(commands_, KeyOf(event), ModifiersOf(event), listHasFocus);
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && RunKey(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    // A control's own use of a key (the list's Ctrl+C) must not keep it from the commands.
    if (event->type() == QEvent::ShortcutOverride &&
        KeyOf(*static_cast<QKeyEvent*>(event)) != Key::Other) {
        event->accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void MainDialog::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintPreview(painter, CurrentImage());
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
    if (RunKey(*event)) {
        return;
    }
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
