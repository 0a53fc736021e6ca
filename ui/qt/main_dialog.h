#pragma once
// The program's one working window: the preview of the current image on the left, the sprite
// list on the right, and the buttons that move images between files, the current image and the
// sprite set. It builds the controls, maps its buttons, keys and menu items to the shared
// window commands, and realises the window those commands act on.

#include <QDialog>
#include <QString>
#include <memory>
#include <string>

#include "ui/commands/window_commands.h"
#include "ui/commands/window_port.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/file_dialogs.h"

class QAction;
class QButtonGroup;
class QLabel;
class QListWidget;
class QMenu;

namespace quorvel {

class MainDialog : public QDialog, public WindowPort {
    Q_OBJECT

  public:
    // Without `fileDialogs` the commands ask through Qt's own file dialogs.
    explicit MainDialog(std::unique_ptr<FileDialogs> fileDialogs = nullptr);
    ~MainDialog() override;

    WindowCommands& commands() { return commands_; }
    BaseUnits baseUnits() const { return base_; }
    QAction* keepBlackAction() const { return keepBlackAction_; }

    // A file given by its path, as a drop or the command line hands it over.
    void OpenDroppedFile(const QString& path);

    // The window menu, opened at `globalPosition`: Minimize, Close, then the program's items.
    void ShowWindowMenu(const QPoint& globalPosition);
    void ShowAbout();
    void ShowHelp();

    // Every way of closing the window ends here; asks first while sprites are unsaved.
    void done(int result) override;

    // WindowPort.
    std::optional<ChosenFile> ChooseFile(FileKind kind, FileAction action) override;
    std::vector<ChosenFile> ChoosePictures() override;
    bool AskYesNo(const std::string& question) override;
    std::optional<SheetGrid> AskSheetGrid() override;
    void ShowFileError(const std::string& text) override;
    bool EnterFolder(const std::string& folder) override;
    ConversionMode CheckedMode() const override;
    void CheckMode(ConversionMode mode) override;
    BlackHandling KeepBlackItem() const override;
    std::int32_t SelectedLine() const override;
    std::string LineText(std::int32_t index) const override;
    void ClearLines() override;
    void AppendLine(const std::string& text) override;
    void DeleteLine(std::int32_t index) override;
    void ReplaceLine(std::int32_t index, const std::string& text) override;
    void SelectLine(std::int32_t index) override;
    void SetCountLabel(const std::string& text) override;
    void SetImageLabel(const std::string& text) override;
    void RequestRepaint() override;
    void PutPictureOnClipboard(std::span<const std::uint8_t> bitmapFile) override;
    std::vector<std::uint8_t> PictureOnClipboard() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateControls();
    QWidget* CreateControl(int kind, const QString& text);
    void ConnectButtons();
    void CreateShortcuts();
    void AddEditMenu(QMenu& menu);
    // The Edit commands' keys, from whichever control has the focus; whether one ran.
    bool RunKey(const QKeyEvent& event);

    std::unique_ptr<FileDialogs> fileDialogs_;
    WindowCommands commands_{*this};
    BaseUnits base_;
    QButtonGroup* choice_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* imageLabel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QAction* keepBlackAction_ = nullptr;
};

}  // namespace quorvel
