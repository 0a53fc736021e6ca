// The main window's wiring: buttons, keys and menu items reach their commands, and the window
// serves them (list, clipboard, drops, file dialogs, preview). The commands have their own tests.

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <functional>

#include "core/game_palette.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "tests/support/bitmap_builder.h"
#include "ui/qt/main_dialog.h"
#include "ui/qt/preview_image.h"
#include "ui/qt/qt_file_dialogs.h"

namespace quorvel::testing {
namespace {

using Answer = std::function<void(QWidget*)>;
const Answer Return = [](QWidget* window) { QTest::keyClick(window, Qt::Key_Return); };

// Types `path` into a file dialog's name box and accepts, as its Open or Save button does.
Answer Select(const QString& path) {
    return [path](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
        qobject_cast<QDialog*>(dialog)->accept();
    };
}

// Answers each file dialog with the next scripted path (none: cancelled), noting "*.bmp open" etc.
struct Dialogs : FileDialogs {
    QStringList Choose(const FileChoice& choice) override {
        asked << InitialFileName(choice.kind) +
                     (choice.action == FileAction::Open ? " open" : " save") +
                     (choice.many ? " many" : "");
        return answers.isEmpty() ? QStringList() : QStringList{answers.takeFirst()};
    }
    QStringList answers, asked;
};

const SpriteSet kTwoSprites{
    2, {4, 3}, {2, 5}, {PatternImage(4, 2).pixels, PatternImage(3, 5).pixels}};

// Also between the rows of a table: a fresh window with two sprites loaded (lines with a colon),
// the second selected, and an image of 8 × 6 not yet labelled.
class MainWindow : public ::testing::Test {
  protected:
    MainWindow() {
        poll_.callOnTimeout([this] { AnswerModal(); });
    }
    void SetUp() override {
        QDir::setCurrent(folder_.path());
        window_.reset();
        answers_.clear();
        seen_.clear();
        QGuiApplication::clipboard()->clear();
        CurrentSpriteSet() = SpriteSet{};  // nothing unsaved
        window_ =
            std::make_unique<MainDialog>(std::unique_ptr<FileDialogs>(dialogs_ = new Dialogs));
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        poll_.start(5);
        WriteFile("two.spr", EncodeSpriteFile(kTwoSprites).value());
        dialogs_->answers = {PathOf("two.spr")};
        Choose("loadSprites");
        window_->SelectLine(1);
        CurrentImage() = PatternImage(8, 6);
        dialogs_->asked.clear();
    }

    QString PathOf(const QString& name) const { return folder_.filePath(name); }
    void WriteFile(const QString& name, const std::vector<std::uint8_t>& bytes) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(PathOf(name)).absolutePath()));
        WriteTestFile(PathOf(name).toStdString(), bytes);
    }
    QWidget* Control(const char* name) const { return window_->findChild<QWidget*>(name); }
    std::string Label(const char* name) const {
        return window_->findChild<QLabel*>(name)->text().toStdString();
    }

    // Clicks the button named `item`, or opens the window menu by Shift+F10 from the list and
    // chooses the item, in it or in Edit, whose text starts with `item`; the close box for "box".
    void Choose(const QString& item) {
        if (auto* button = window_->findChild<QPushButton*>(item)) {
            return button->click();
        } else if (item == "box") {
            return static_cast<void>(window_->windowHandle()->close());
        }
        answers_.push_front([item](QWidget* menu) {  // before any answer queued
            for (QAction* action :
                 menu->actions() + menu->findChild<QMenu*>("editMenu")->actions()) {
                if (action->text().startsWith(item)) {
                    action->trigger();
                }
            }
            menu->close();
        });
        QTest::keyClick(Control("spriteList"), Qt::Key_F10, Qt::ShiftModifier);
    }

    // The list as "4x2: 3x5 @1" (sizes, colons, the selected line), the image label, the size of
    // an image on the clipboard, keep-black, the file dialogs and the other windows seen, and
    // whether the window closed.
    std::string Shown() const {
        const auto* list = window_->findChild<QListWidget*>("spriteList");
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) {
            const QString line = list->item(i)->text();
            shown << line.section('\t', 1).replace(" × ", "x") + (line.contains(':') ? ":" : "");
        }
        const QImage clip = QGuiApplication::clipboard()->image();
        shown << "@" + QString::number(window_->SelectedLine())
              << QString::fromStdString(Label("imageLabel")).remove("(no image)")
              << (clip.isNull() ? "" : QString("clip %1x%2").arg(clip.width()).arg(clip.height()))
              << (window_->KeepBlackItem() == BlackHandling::KeepVisible ? "keep" : "")
              << dialogs_->asked << (window_->isVisible() ? "" : "closed");
        for (const QString& window : seen_) {
            shown << "[" + window.section(':', 0, 0) + "]";
        }
        shown.removeAll("");
        return shown.join(' ').toStdString();
    }

    // Answers the modal window or menu that opened last by the next queued answer, or else a
    // message box by Return and others by closing them as Escape would; records a window, not a
    // menu, as "title: text" (the text of a message box).
    void AnswerModal() {
        QWidget* window = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                            : QApplication::activeModalWidget();
        if (window == nullptr || window == handled_ || !window->isVisible()) {
            return;
        }
        handled_ = window;
        if (!qobject_cast<QMenu*>(window)) {
            const auto* box = qobject_cast<QMessageBox*>(window);
            seen_.push_back(window->windowTitle() + ": " + (box ? box->text() : ""));
        }
        const Answer answer = !answers_.isEmpty()                  ? answers_.takeFirst()
                              : qobject_cast<QMessageBox*>(window) ? Answer(Return)
                                                                   : Answer(&QWidget::close);
        // From a fresh timer, so that a window the answer opens is seen by a later poll.
        QTimer::singleShot(0, window, [window, answer] { answer(window); });
    }

    QTemporaryDir folder_;
    Dialogs* dialogs_ = nullptr;  // owned by the window
    std::unique_ptr<MainDialog> window_;
    QList<Answer> answers_;
    QStringList seen_;
    QPointer<QWidget> handled_;
    QTimer poll_;
};

// The control with the focus, the keys it gets, then a button to click, a window-menu item to
// choose (Edit's items share the keys' commands) or the close box, and what the window shows.
TEST_F(MainWindow, EachButtonKeyAndMenuItemRunsItsCommand) {
    const char* const cases[][4] = {
        {"spriteList", "", "loadBitmap", "4x2: 3x5: @1 *.bmp open"},
        {"spriteList", "", "saveBitmap", "4x2: 3x5: @1 *.bmp save"},
        {"spriteList", "", "loadSprites", "4x2: 3x5: @1 *.spr open"},
        {"spriteList", "", "saveSprites", "4x2: 3x5: @1 *.spr save"},
        {"spriteList", "", "addSprite", "4x2: 3x5: 8x6 @1"},
        {"spriteList", "", "insertSprite", "4x2: 8x6 3x5 @1"},
        {"spriteList", "", "deleteSprite", "4x2: @0"},
        {"spriteList", "", "copySprite", "4x2: 3x5: @1 (3 × 5)"},
        {"spriteList", "Alt+Up", "", "3x5 4x2 @0"},
        {"saveBitmap", "Alt+Up, Alt+Down", "", "4x2 3x5 @1"},
        {"addSprite", "Ctrl+R", "", "4x2: 8x6 @1"},
        {"spriteList", "Del", "", "4x2: @0"},
        {"deleteSprite", "Del", "", "4x2: 3x5: @1"},
        {"loadSprites", "Ctrl+R, Ctrl+Z", "", "4x2: 3x5: @1"},
        {"insertSprite", "Ctrl+R, Ctrl+Z, Ctrl+Y", "", "4x2: 8x6 @1"},
        {"spriteList", "Ctrl+R, Ctrl+Z, Ctrl+Shift+Z", "", "4x2: 8x6 @1"},
        {"copySprite", "Ctrl+Shift+A", "", "4x2: 3x5: @1 *.bmp open many"},
        {"spriteList", "Ctrl+C, Ctrl+V", "", "4x2: 3x5: @1 (8 × 6) clip 8x6"},
        {"spriteList", "Ctrl+R", "&Undo", "4x2: 3x5: @1"},
        {"spriteList", "", "Move Sprite U&p", "3x5 4x2 @0"},
        {"spriteList", "", "Make Back&ground", "4x2: 3x5: @1 *.bmp open"},
        {"spriteList", "", "&Export Background", "4x2: 3x5: @1 *.spr open"},
        {"spriteList", "", "Keep &Black", "4x2: 3x5: @1 keep"},
        {"spriteList", "", "&Import Sheet", "4x2: 3x5: @1 *.bmp open"},
        {"spriteList", "", "Export S&heet", "4x2: 3x5: @1 *.bmp save"},
        {"spriteList", "", "Export &Palette", "4x2: 3x5: @1 *.gpl save"},
        // Closing asks while sprites are unsaved, and Return in the question (No) keeps them.
        {"spriteList", "Esc", "", "4x2: 3x5: @1 closed"},
        {"spriteList", "Ctrl+R, Esc", "", "4x2: 8x6 @1 [quorvel]"},
        {"spriteList", "Ctrl+R, Return", "", "4x2: 8x6 @1 [quorvel]"},
        {"spriteList", "Ctrl+R", "box", "4x2: 8x6 @1 [quorvel]"},
        {"spriteList", "Ctrl+R", "&Close", "4x2: 8x6 @1 [quorvel]"},
    };
    for (const auto& [focus, keys, then, shown] : cases) {
        SCOPED_TRACE(std::string(focus) + " " + keys + " " + then);
        SetUp();
        Control(focus)->setFocus();
        QTest::keySequence(Control(focus), QKeySequence(keys));
        if (*then) {
            Choose(then);
        }
        EXPECT_EQ(Shown(), shown);
    }
}

// The list as the commands see it, a picture with alpha pasted (transparent pixels as index 0),
// and a dropped file reaching the commands.
TEST_F(MainWindow, TheListClipboardAndDropsServeTheCommands) {
    window_->ReplaceLine(1, "#1\tnew");  // keeping the selection
    EXPECT_EQ(std::tuple(Shown(), window_->LineText(1)), std::tuple("4x2: new @1", "#1\tnew"));
    window_->SelectLine(0);
    window_->DeleteLine(0);  // the selection goes with its line
    EXPECT_EQ(Shown(), "new @-1");
    window_->SelectLine(0);
    window_->SelectLine(-1);
    EXPECT_EQ(Shown(), "new @-1");

    QImage picture(5, 3, QImage::Format_ARGB32);
    picture.fill(QColor(0, 0, 255));
    picture.setPixel(0, 0, qRgba(255, 255, 255, 100));
    QGuiApplication::clipboard()->setImage(picture);
    window_->commands().OnPasteImage();
    EXPECT_EQ(
        std::tuple(Label("imageLabel"), CurrentImage().pixels[0], CurrentImage().pixels[1] > 0),
        std::tuple("(8 × 3)", 0, true));

    WriteFile("in/picture.png", EncodePicture(PatternImage(4, 4), "x.png").value());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(PathOf("in/picture.png"))});
    QDragEnterEvent enter({9, 9}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_.get(), &enter);
    QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_.get(), &drop);
    QCoreApplication::processEvents();  // the load runs once the drop is over
    EXPECT_EQ(std::tuple(enter.isAccepted(), Label("imageLabel"), QDir::current().canonicalPath()),
              std::tuple(true, "(4 × 4)", QDir(PathOf("in")).canonicalPath()));
}

// The 200 × 200 frame shows the image 1:1 from its top-left corner, cut off, black around it.
TEST_F(MainWindow, PreviewShowsTheImageFromTheTopLeftAndBlackAroundIt) {
    for (const auto& [width, height] : {std::pair{0, 0}, {300, 50}, {5, 3}, {203, 201}}) {
        const IndexedImage& image = CurrentImage() = PatternImage(width, height);
        const QImage shot = window_->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int wrong = 0;  // pixels of the frame and the window's row and column just past it
        for (int i = 0; i < 201 * 201; ++i) {
            const int x = i % 201, y = i / 201;
            const QRgb expected = x == 200 || y == 200 ? shot.pixel(0, 0)
                                  : x < width && y < height
                                      ? kGameColours[image.pixels[y * width + x]]
                                      : 0;
            wrong += shot.pixel(kPreviewOrigin + QPoint(x, y)) != (0xFF000000u | expected);
        }
        EXPECT_EQ(wrong, 0) << width << " × " << height;
    }
}

// Through the window system, which turns a right click into a context-menu request; Undo and
// Redo greyed without steps; the About box with its picture.
TEST_F(MainWindow, ARightClickOpensTheMenuWhoseLastItemOpensTheAboutBox) {
    answers_ = {[](QWidget* menu) {
                    const auto edit = menu->findChild<QMenu*>("editMenu")->actions();
                    EXPECT_FALSE(edit[0]->isEnabled() || edit[1]->isEnabled());
                    menu->actions().back()->trigger();
                    menu->close();
                },
                [](QWidget* about) {
                    EXPECT_EQ(about->findChild<QLabel*>("picture")->pixmap().size(),
                              QSize(240, 128));
                    about->close();
                }};
    QTest::mouseClick(window_->windowHandle(), Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_TRUE(QTest::qWaitFor([this] { return seen_ == QStringList{"About quorvel: "}; }));
}

// The real dialogs: Open takes a read-only file; Save refuses a read-only file or folder and asks
// before replacing a file, and each refusal or No brings the dialog back.
TEST_F(MainWindow, QtFileDialogsRefuseReadOnlySaveTargetsAndConfirmReplacing) {
    QtFileDialogs dialogs(nullptr);
    ASSERT_TRUE(QDir().mkdir(PathOf("locked")));
    QFile::setPermissions(PathOf("locked"), QFile::ReadOwner | QFile::ExeOwner);
    WriteFile("kept.spr", {1});
    QFile::setPermissions(PathOf("kept.spr"), QFile::ReadOwner);
    WriteFile("old.spr", {1});
    answers_ = {Select(PathOf("kept.spr"))};
    EXPECT_EQ(dialogs.Choose({FileKind::Sprite, FileAction::Open}),
              QStringList{PathOf("kept.spr")});
    // Return takes a message box's default button, which must be No in the question.
    answers_ = {
        Select(PathOf("locked/new.spr")),
        Return,
        Select(PathOf("kept.spr")),
        Return,
        Select(PathOf("old.spr")),
        Return,
        Select(PathOf("old.spr")),
        [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); }};
    EXPECT_EQ(dialogs.Choose({FileKind::Sprite, FileAction::Save}), QStringList{PathOf("old.spr")});
    ASSERT_EQ(seen_.size(), 9);  // the Open dialog, then four times the dialog and a message box
    EXPECT_TRUE(seen_[2].startsWith("Save As: new.spr cannot be saved in"));
    EXPECT_EQ(seen_[4], "Save As: kept.spr is read-only.\nChoose another name.");
    EXPECT_TRUE(seen_[6].startsWith("Confirm Save As: old.spr already exists."));
    // A palette name without an extension takes the chosen filter's.
    for (const auto& [typed, filter, saved] : {std::tuple{"c1", 1, "c1.act"},
                                               {"c1.pal", 0, "c1.pal"},
                                               {"c1", 2, "c1.pal"},
                                               {"c1", 3, "c1"}}) {
        answers_ = {[&typed, &filter](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            files->selectNameFilter(files->nameFilters()[filter]);
            Select(typed)(dialog);
        }};
        EXPECT_EQ(dialogs.Choose({FileKind::Palette, FileAction::Save}),
                  QStringList{PathOf(saved)});
    }
}

// "Sheet Grid" starts at 1 by 1 and gives what was set, or nothing when closed.
TEST_F(MainWindow, TheSheetGridDialogGivesColumnsAndRows) {
    QString started;
    answers_ = {[&started](QWidget* dialog) {
                    for (auto* field : {dialog->findChild<QSpinBox*>("columns"),
                                        dialog->findChild<QSpinBox*>("rows")}) {
                        started += QString::number(field->value()) + " ";
                        field->setValue(field->objectName() == "rows" ? 2000 : 3);  // 1024 most
                    }
                    dialog->findChild<QPushButton*>("ok")->click();
                },
                &QWidget::close};
    const std::optional<SheetGrid> grid = window_->AskSheetGrid();
    ASSERT_TRUE(grid);
    EXPECT_EQ(std::tuple(started, grid->columns, grid->rows), std::tuple("1 1 ", 3u, 1024u));
    EXPECT_FALSE(window_->AskSheetGrid());
}

}  // namespace
}  // namespace quorvel::testing

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // also when the build lists the tests
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
