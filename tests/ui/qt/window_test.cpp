// The main window driven as a user would drive it, with scripted or real file dialogs.

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <functional>

#include "core/game_palette.h"
#include "pictures/picture_file.h"
#include "sprites/background.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "tests/support/bitmap_builder.h"
#include "ui/qt/main_dialog.h"
#include "ui/qt/preview_image.h"
#include "ui/qt/qt_file_dialogs.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace quorvel::testing {
namespace {

using Answer = std::function<void(QWidget*)>;

// Clicks `button` of a Yes/No box whose default is No; fails on, and closes, any other window.
Answer Press(QMessageBox::StandardButton button) {
    return [button](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (box == nullptr || box->button(button) == nullptr) {
            ADD_FAILURE() << "not a Yes/No box: " << window->windowTitle().toStdString();
            window->close();
            return;
        }
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        box->button(button)->click();
    };
}

// Types `path` into a file dialog's name box and accepts, as its Open or Save button does.
Answer Select(const QString& path) {
    return [path](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    };
}

// Answers each file dialog with the next scripted path (empty: cancelled), noting "*.bmp open" etc.
class ScriptedFileDialogs : public FileDialogs {
  public:
    QStringList Choose(const FileChoice& choice) override {
        const bool opening = choice.action == FileAction::Open;
        asked.push_back(InitialFileName(choice.kind) + (opening ? " open" : " save") +
                        (choice.many ? " many" : ""));
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        return answer.isEmpty() ? QStringList() : QStringList{answer};
    }
    QStringList answers;
    QStringList asked;
};

class MainWindow : public ::testing::Test {
  protected:
    MainWindow() {
        poll_.callOnTimeout([this] { AnswerModal(); });
    }
    // Also between the rows of a table: a fresh window on an empty set.
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        QDir::setCurrent(folder_.path());
        window_.reset();
        answers_.clear();
        seen_.clear();
        CurrentImage() = IndexedImage{};
        CurrentSpriteSet() = SpriteSet{};
        dialogs_ = new ScriptedFileDialogs;
        window_ = std::make_unique<MainDialog>(std::unique_ptr<FileDialogs>(dialogs_));
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        poll_.start(5);
    }

    QString PathOf(const QString& name) const { return folder_.filePath(name); }
    void WriteFile(const QString& name, const std::vector<std::uint8_t>& bytes) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(PathOf(name)).absolutePath()));
        WriteTestFile(PathOf(name).toStdString(), bytes);
    }
    // Clicks `button`, whose file dialog, if `pick` is given, answers with it ("": cancelled).
    void Click(const char* button, const char* pick = nullptr) {
        if (pick != nullptr) {
            dialogs_->answers.push_back(*pick != 0 ? PathOf(pick) : QString());
        }
        window_->findChild<QPushButton*>(button)->click();
    }
    QStringList Lines() const {
        QStringList lines;
        const auto* list = window_->findChild<QListWidget*>("spriteList");
        for (int i = 0; i < list->count(); ++i) {
            lines.push_back(list->item(i)->text());
        }
        return lines;
    }
    // Drags the file over the window and drops it there; the load runs once the drop is over.
    void Drop(const QString& name) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(PathOf(name))});
        QDragEnterEvent enter({9, 9}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_.get(), &drop);
        QCoreApplication::processEvents();
    }

    // Answers the modal window or menu that opened last by the next queued answer or else by
    // closing it as Escape would, and records it as "title: text" (text of a message box).
    void AnswerModal() {
        QWidget* window = QApplication::activePopupWidget();
        window = window != nullptr ? window : QApplication::activeModalWidget();
        if (window == nullptr || window == handled_ || !window->isVisible()) {
            return;
        }
        handled_ = window;
        const auto* box = qobject_cast<QMessageBox*>(window);
        seen_.push_back(window->windowTitle() + QStringLiteral(": ") + (box ? box->text() : ""));
        const Answer answer = answers_.isEmpty() ? Answer(&QWidget::close) : answers_.takeFirst();
        // From a fresh timer, so that a window the answer opens is seen by a later poll.
        QTimer::singleShot(0, &poll_, [target = QPointer<QWidget>(window), answer] {
            if (target) {
                answer(target);
            }
        });
    }

    QTemporaryDir folder_;
    ScriptedFileDialogs* dialogs_ = nullptr;  // owned by the window
    std::unique_ptr<MainDialog> window_;
    QList<Answer> answers_;
    QStringList seen_;
    QPointer<QWidget> handled_;
    QTimer poll_;
};

const SpriteSet kTwoSprites{
    2, {4, 3}, {2, 5}, {PatternImage(4, 2).pixels, PatternImage(3, 5).pixels}};

// A window with two sprites loaded (lines with a colon), the second selected, and an image.
class LoadedWindow : public MainWindow {
  protected:
    void SetUp() override {
        MainWindow::SetUp();
        WriteFile("two.spr", EncodeSpriteFile(kTwoSprites).value());
        Click("loadSprites", "two.spr");
        window_->SelectLine(1);
        CurrentImage() = PatternImage(8, 6);
        dialogs_->asked.clear();
    }
    QWidget* Control(const char* name) const { return window_->findChild<QWidget*>(name); }
    QString Label(const char* name) const { return window_->findChild<QLabel*>(name)->text(); }
};

struct ButtonCase {
    const char* button;
    QStringList asked;  // file dialogs, all cancelled
    QStringList lines;
    const char* imageLabel;
};

TEST_F(LoadedWindow, EachButtonRunsItsCommand) {
    const QStringList two{"#0:\t4 × 2", "#1:\t3 × 5"};
    const ButtonCase cases[] = {
        {"loadBitmap", {"*.bmp open"}, two, "(no image)"},
        {"saveBitmap", {"*.bmp save"}, two, "(no image)"},
        {"loadSprites", {"*.spr open"}, two, "(no image)"},
        {"saveSprites", {"*.spr save"}, two, "(no image)"},
        {"addSprite", {}, two + QStringList{"#2\t8 × 6"}, "(no image)"},
        {"insertSprite", {}, {"#0:\t4 × 2", "#1\t8 × 6", "#2\t3 × 5"}, "(no image)"},
        {"deleteSprite", {}, {"#0:\t4 × 2"}, "(no image)"},
        {"copySprite", {}, two, "(3 × 5)"},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.button);
        SetUp();
        Click(c.button);
        EXPECT_EQ(std::tuple(dialogs_->asked, Lines(), Label("imageLabel")),
                  std::tuple(c.asked, c.lines, QString(c.imageLabel)));
    }
}

struct KeyCase {
    const char* focus;  // the control that has the focus
    QKeyCombination keys;
    bool undoFirst;  // undo the Add before the key
    QStringList lines;
    int selected;
};

// Each key reaches its command whichever control has the focus; Delete only from the list.
// Before each, "Add ->" has added one sprite, so Ctrl+Z has a step to undo.
TEST_F(LoadedWindow, EachKeyRunsItsCommandFromAnyControl) {
    const QStringList three{"#0:\t4 × 2", "#1:\t3 × 5", "#2\t8 × 6"};
    const KeyCase cases[] = {
        {"spriteList", Qt::ALT | Qt::Key_Up, false, {"#0\t3 × 5", "#1\t4 × 2", "#2\t8 × 6"}, 0},
        {"saveBitmap", Qt::ALT | Qt::Key_Down, false, {"#0:\t4 × 2", "#1\t8 × 6", "#2\t3 × 5"}, 2},
        {"addSprite", Qt::CTRL | Qt::Key_R, false, {"#0:\t4 × 2", "#1\t8 × 6", "#2\t8 × 6"}, 1},
        {"spriteList", Qt::Key_Delete, false, {"#0:\t4 × 2", "#1\t8 × 6"}, 1},
        {"deleteSprite", Qt::Key_Delete, false, three, 1},
        {"spriteList", Qt::CTRL | Qt::Key_Z, false, {"#0:\t4 × 2", "#1:\t3 × 5"}, 1},
        {"loadBitmap", Qt::CTRL | Qt::Key_Y, true, three, 1},
        {"spriteList", Qt::CTRL | Qt::SHIFT | Qt::Key_Z, true, three, 1},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.keys.toCombined());
        SetUp();
        Click("addSprite");
        window_->SelectLine(1);
        if (c.undoFirst) {
            window_->commands().OnUndo();
        }
        Control(c.focus)->setFocus();
        QTest::keyClick(Control(c.focus), c.keys.key(), c.keys.keyboardModifiers());
        EXPECT_EQ(std::tuple(Lines(), window_->SelectedLine()), std::tuple(c.lines, c.selected));
    }
}

// Ctrl+C from the list (whose own Ctrl+C copies its line's text) puts the image on the
// clipboard; Ctrl+V makes a picture on the clipboard the current image; Ctrl+Shift+A asks for
// pictures.
TEST_F(LoadedWindow, TheClipboardKeysCarryTheImageAndAddPicturesAsks) {
    QTest::keyClick(Control("spriteList"), Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(8, 6));
    EXPECT_EQ(copied.pixel(1, 0), 0xFF000000u | kGameColours[PatternImage(8, 6).pixels[1]]);

    QImage picture(5, 3, QImage::Format_ARGB32);
    picture.fill(QColor(0, 0, 255, 255));
    picture.setPixel(0, 0, qRgba(255, 255, 255, 100));  // transparent: index 0
    QGuiApplication::clipboard()->setImage(picture);
    QTest::keyClick(Control("loadSprites"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Label("imageLabel"), "(8 × 3)");
    EXPECT_EQ(CurrentImage().pixels[0], 0);
    EXPECT_NE(CurrentImage().pixels[1], 0);

    QTest::keyClick(Control("spriteList"), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialogs_->asked, QStringList{"*.bmp open many"});
}

// The window menu's items, their order and texts, Edit's greyed items, and an Edit item at work.
TEST_F(LoadedWindow, TheWindowMenuHoldsTheEditSubmenu) {
    QStringList texts;
    answers_.push_back([&texts](QWidget* menu) {
        for (QAction* action : menu->actions()) {
            texts.push_back(action->text());
            if (QMenu* sub = action->menu()) {
                for (QAction* item : sub->actions()) {
                    texts.push_back(QString(item->isEnabled() ? "  " : "  (grey) ") + item->text());
                }
            }
        }
        menu->findChild<QMenu*>("editMenu")->actions().at(3)->trigger();  // Move Sprite Up
        menu->close();
    });
    window_->ShowWindowMenu(window_->mapToGlobal(QPoint(100, 100)));
    EXPECT_EQ(texts, QStringList({"Mi&nimize",
                                  "&Close",
                                  "",
                                  "Keep &Black Visible",
                                  "",
                                  "Edi&t",
                                  "  (grey) &Undo\tCtrl+Z",
                                  "  (grey) &Redo\tCtrl+Y",
                                  "  ",
                                  "  Move Sprite U&p\tAlt+Up",
                                  "  Move Sprite &Down\tAlt+Down",
                                  "  Replace &Sprite\tCtrl+R",
                                  "  ",
                                  "  &Add Pictures...\tCtrl+Shift+A",
                                  "  ",
                                  "  &Copy Image\tCtrl+C",
                                  "  Paste &Image\tCtrl+V",
                                  "",
                                  "Make Back&ground File...",
                                  "&Export Background Picture...",
                                  "",
                                  "&About quorvel..."}));
    EXPECT_EQ(Lines(), QStringList({"#0\t3 × 5", "#1\t4 × 2"}));
}

// Every way of closing asks while sprites are unsaved, and No keeps the window open.
TEST_F(LoadedWindow, EveryWayOfClosingAsksFirst) {
    enum Way { Escape, Enter, CloseBox, MenuClose };
    for (const Way way : {Escape, Enter, CloseBox, MenuClose}) {
        for (const bool yes : {false, true}) {
            SetUp();
            Click("addSprite");
            answers_.push_back(Press(yes ? QMessageBox::Yes : QMessageBox::No));
            if (way == Escape || way == Enter) {
                QTest::keyClick(Control("spriteList"),
                                way == Escape ? Qt::Key_Escape : Qt::Key_Return);
            } else if (way == CloseBox) {
                window_->windowHandle()->close();
            } else {
                answers_.push_front([](QWidget* menu) { QTest::keyClick(menu, 'c'); });  // &Close
                window_->ShowWindowMenu(window_->mapToGlobal(QPoint(100, 100)));
            }
            EXPECT_EQ(seen_.filter("quorvel: The sprite set has changes").size(), 1) << way;
            EXPECT_EQ(window_->isVisible(), !yes) << way;
            window_->commands().OnUndo();  // back to the loaded set: closes without a question
        }
    }
}

// The list as the commands see it, and a dropped file reaching them.
TEST_F(LoadedWindow, TheListAndDropsServeTheCommands) {
    window_->ReplaceLine(1, "#1\tnew");
    EXPECT_EQ(std::tuple(Lines(), window_->SelectedLine(), window_->LineText(1)),
              std::tuple(QStringList{"#0:\t4 × 2", "#1\tnew"}, 1, std::string("#1\tnew")));
    window_->SelectLine(-1);
    EXPECT_EQ(window_->SelectedLine(), -1);
    window_->DeleteLine(0);
    EXPECT_EQ(Lines(), QStringList{"#1\tnew"});
    WriteFile("in/picture.png", EncodePicture(PatternImage(4, 4), "x.png").value());
    Drop("in/picture.png");
    EXPECT_EQ(Label("imageLabel"), "(4 × 4)");
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(PathOf("in")).canonicalPath());
}

// The 200 × 200 frame shows the image 1:1 from its top-left corner, cut off, black around it.
TEST_F(MainWindow, PreviewShowsTheImageFromTheTopLeftAndBlackAroundIt) {
    for (const auto& [width, height] : {std::pair{0, 0}, {300, 50}, {5, 3}, {203, 201}}) {
        const IndexedImage& image = CurrentImage() = PatternImage(width, height);
        const QImage shot = window_->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int wrong = 0;  // pixels of the frame and the window's row and column just past it
        for (int y = 0; y <= 200; ++y) {
            for (int x = 0; x <= 200; ++x) {
                const QRgb expected = x == 200 || y == 200 ? shot.pixel(0, 0)
                                      : x < width && y < height
                                          ? kGameColours[image.pixels[y * width + x]]
                                          : 0;
                wrong += shot.pixel(kPreviewOrigin + QPoint(x, y)) != (0xFF000000u | expected);
            }
        }
        EXPECT_EQ(wrong, 0) << width << " × " << height;
    }
}

TEST_F(MainWindow, ARightClickOpensTheMenuWhoseLastItemOpensTheAboutBox) {
    answers_.push_back([this](QWidget* menu) {
        EXPECT_EQ(menu->actions().at(3), window_->keepBlackAction());  // unchecked, after Close
        qobject_cast<QMenu*>(menu)->setActiveAction(menu->actions().back());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    answers_.push_back([](QWidget* about) {
        EXPECT_EQ(about->findChild<QLabel*>("picture")->pixmap().size(), QSize(240, 128));
        about->findChild<QPushButton*>("ok")->click();
    });
    // Through the window system, which turns a right click into a context-menu request.
    QTest::mouseClick(window_->windowHandle(), Qt::RightButton, {}, QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitFor([this] { return seen_.size() == 2; }));
    EXPECT_EQ(seen_[1], "About quorvel: ");
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
    answers_ = {Select(PathOf("locked/new.spr")), &QWidget::close,
                Select(PathOf("kept.spr")),       &QWidget::close,
                Select(PathOf("old.spr")),        Press(QMessageBox::No),
                Select(PathOf("old.spr")),        Press(QMessageBox::Yes)};
    EXPECT_EQ(dialogs.Choose({FileKind::Sprite, FileAction::Save}), QStringList{PathOf("old.spr")});
    ASSERT_EQ(seen_.size(), 9);  // the Open dialog, then four times the dialog and a message box
    EXPECT_TRUE(seen_[2].startsWith("Save As: new.spr cannot be saved in"));
    EXPECT_EQ(seen_[4], "Save As: kept.spr is read-only.\nChoose another name.");
    EXPECT_TRUE(seen_[6].startsWith("Confirm Save As: old.spr already exists."));
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
