#pragma once
// The program's one working window: the preview of the current image on the left, the sprite
// list on the right, and the buttons that move images between files, the current image and
// the sprite set. It also holds the user's choice of conversion method and of black handling.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "ui/dialog_units.h"
#include "ui/file_dialogs.h"

class QAction;
class QButtonGroup;
class QLabel;
class QListWidget;

namespace quorvel {

class MainDialog : public QDialog {
    Q_OBJECT

  public:
    // Without `fileDialogs` the commands ask through Qt's own file dialogs.
    explicit MainDialog(std::unique_ptr<FileDialogs> fileDialogs = nullptr);
    ~MainDialog() override;

    // The window the window services act on, or null while there is none.
    static MainDialog* Instance();

    // The file commands behind the two "Load" and two "Save" buttons.
    void OnLoadBitmap();
    void OnSaveBitmap();
    void OnLoadSprites();
    void OnSaveSprites();

    // Loads a file as the matching "Load" command would with it chosen: a .bmp or .png as a
    // picture, a .spr as a sprite file. Anything else is refused with a message.
    void OpenDroppedFile(const QString& path);

    // The window services.
    void RequestRepaint();
    int SelectedLine() const;
    void ClearLines();
    void AppendLine(const QString& text);
    void DeleteLine(int index);
    void SelectLine(int index);
    void SetCountLabel(const QString& text);
    void SetImageLabel(const QString& text);
    void RefreshChoice();  // ConversionMode into the radio group

    ConversionMode conversionMode() const { return conversionMode_; }
    BaseUnits baseUnits() const { return base_; }

    // The window menu's room-background commands: a picture into a background sprite file, and
    // such a file back into one picture. Neither changes the current image, the sprite set, the
    // list or the labels.
    void OnMakeBackground();
    void OnExportBackground();

    // The window menu: Minimize, Close; after a separator the check item "Keep Black Visible";
    // after another the two background commands; after a third the About item. The check item
    // starts unchecked with every window and is read, like the radio group, by each picture load.
    void ShowWindowMenu(const QPoint& globalPosition);
    QAction* aboutAction() const { return aboutAction_; }
    QAction* keepBlackAction() const { return keepBlackAction_; }
    void ShowAbout();
    void ShowHelp();

    // Every way of closing the window ends here; asks first while sprites are unsaved.
    void done(int result) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateControls();
    void CreateShortcuts();
    void ReadChoice();  // the radio group and the keep-black item into the two choices
    // Asks for a file of `kind` with the dialog for `action` and runs `operation` on it from
    // its folder; nothing when the dialog was cancelled.
    void WithChosenFile(FileKind kind, FileAction action,
                        const std::function<void(const std::string& name)>& operation);
    // Whether the sprite set may be dropped: true when nothing is unsaved or the user agrees.
    bool MayDiscardSprites();
    void LoadPictureFrom(const QString& path);
    void LoadSpritesFrom(const QString& path);

    std::unique_ptr<FileDialogs> fileDialogs_;
    ConversionMode conversionMode_ = ConversionMode::Nearest;
    BlackHandling blackHandling_ = BlackHandling::AsSearched;
    BaseUnits base_;
    QButtonGroup* choice_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* imageLabel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* keepBlackAction_ = nullptr;
};

}  // namespace quorvel
