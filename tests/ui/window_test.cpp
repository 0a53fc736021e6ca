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
#include "ui/main_dialog.h"
#include "ui/preview_image.h"
#include "ui/qt_file_dialogs.h"

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
    QString Choose(const FileChoice& choice) override {
        const bool opening = choice.action == FileAction::Open;
        asked.push_back(InitialFileName(choice.kind) + (opening ? " open" : " save"));
        EXPECT_FALSE(answers.isEmpty()) << "a file dialog opened that the test did not expect";
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QStringList answers;
    QStringList asked;
};

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        QDir::setCurrent(folder_.path());
        CurrentImage() = IndexedImage{};
        CurrentSpriteSet() = SpriteSet{};
        window_ = std::make_unique<MainDialog>(std::unique_ptr<FileDialogs>(dialogs_));
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        poll_.callOnTimeout([this] { AnswerModal(); });
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
    ScriptedFileDialogs* dialogs_ = new ScriptedFileDialogs;  // owned by the window
    std::unique_ptr<MainDialog> window_;
    QList<Answer> answers_;
    QStringList seen_;
    QPointer<QWidget> handled_;
    QTimer poll_;
};

const SpriteSet kTwoSprites{
    2, {4, 3}, {2, 5}, {PatternImage(4, 2).pixels, PatternImage(3, 5).pixels}};

// A true-colour bitmap (127 × 64) from pure black on, which Nearest and Dither tell apart.
std::vector<std::uint8_t> Picture() {
    std::vector<std::vector<Bgr>> rows(64, std::vector<Bgr>(127));
    for (std::size_t i = 0; i < 64 * 127; ++i) {
        rows[i / 127][i % 127] = {std::uint8_t(i), std::uint8_t(i / 32), std::uint8_t(i / 64)};
    }
    return BuildBitmap(TrueColourBitmap(rows));
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

enum class Way { Escape, Enter, CloseBox, MenuClose, LoadButton, DropSprites };
// After an edit of a loaded set (Add, Insert or Delete by turns): the question answered No or Yes;
// none after saving or reloading, nor after an Add without an image, which changes nothing.
enum class Then { No, Yes, Saved, Reloaded, NoImage };
using enum Way;
using enum Then;

class DiscardQuestion : public MainWindow,
                        public ::testing::WithParamInterface<std::tuple<Way, Then>> {};

TEST_P(DiscardQuestion, ComesBeforeUnsavedSpritesWouldBeLost) {
    const auto [way, then] = GetParam();
    WriteFile("two.spr", EncodeSpriteFile(kTwoSprites).value());
    ASSERT_TRUE(LoadSpriteFile("two.spr"));
    window_->SelectLine(1);
    CurrentImage() = then == NoImage ? IndexedImage{} : PatternImage(6, 6);
    const char* const edits[] = {"addSprite", "insertSprite", "deleteSprite"};
    Click(then == NoImage ? "addSprite" : edits[static_cast<int>(way) % 3]);
    if (then == Saved) {
        Click("saveSprites", "saved.spr");
    } else if (then == Reloaded) {
        ASSERT_TRUE(LoadSpriteFile("two.spr"));
    }
    const QStringList linesBefore = Lines();
    const bool asked = then == Yes || then == No;
    if (asked) {
        answers_.push_back(Press(then == Yes ? QMessageBox::Yes : QMessageBox::No));
    }
    const bool goesOn = then != No;
    const bool closing = way != LoadButton && way != DropSprites;
    if (way == Escape || way == Enter) {
        QTest::keyClick(window_->findChild<QListWidget*>("spriteList"),
                        way == Escape ? Qt::Key_Escape : Qt::Key_Return);
    } else if (way == CloseBox) {
        window_->windowHandle()->close();
    } else if (way == MenuClose) {
        answers_.push_front([](QWidget* menu) { QTest::keyClick(menu, 'c'); });  // &Close
        window_->ShowWindowMenu(window_->mapToGlobal(QPoint(100, 100)));
    } else if (way == DropSprites) {
        Drop("two.spr");
    } else {
        Click("loadSprites", goesOn ? "two.spr" : nullptr);
    }

    EXPECT_EQ(seen_.filter("quorvel: The sprite set has changes that are not saved.").size(),
              asked);
    EXPECT_EQ(window_->isVisible(), !(closing && goesOn));
    const QStringList loaded{"#0:\t4 × 2", "#1:\t3 × 5"};
    EXPECT_EQ(Lines(), !closing && goesOn ? loaded : linesBefore);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, DiscardQuestion,
                         ::testing::Combine(::testing::Values(Escape, Enter, CloseBox, MenuClose,
                                                              LoadButton, DropSprites),
                                            ::testing::Values(No, Yes, Saved, Reloaded, NoImage)));

enum class Arrival { Button, Dropped, Cancelled };  // Cancelled: at the button's file dialog
using enum Arrival;

struct LoadCase {
    Arrival arrival;
    const char* path;    // in the temporary folder; a name starting "gone" is not there
    bool dither;         // checked before the load
    const char* error;   // the one message shown, after "File Error: ", "" for none
    const char* folder;  // the working folder afterwards
    const char* imageLabel;
    const char* countLabel;
    BlackHandling black = BlackHandling::AsSearched;  // by the window menu's check item
};

// Before each load the image (8 × 3) and the set (two sprites) are present, but the labels and
// the list have not been told of them. Failures leave both, and the label of the load shows them.
const LoadCase kLoads[] = {
    {Button, "pictures/sample.bmp", true, "", "pictures", "(128 × 64)", "0 images"},
    {Button, "sample.bmp", false, "", "", "(128 × 64)", "0 images"},
    {Dropped, "in/Dark.BMP", true, "", "in", "(128 × 64)", "0 images", BlackHandling::KeepVisible},
    {Button, "pictures/sample.png", true, "", "pictures", "(128 × 64)", "0 images"},
    {Dropped, "in/Sample.PNG", false, "", "in", "(128 × 64)", "0 images"},
    {Button, "sprites/two.spr", true, "", "sprites", "(no image)", "2 images"},
    {Dropped, "in/two.Spr", true, "", "in", "(no image)", "2 images"},
    {Button, "gone.bmp", false, "Unable to open gone.bmp for read.", "", "(8 × 3)", "0 images"},
    {Button, "gone.spr", true, "Unable to open gone.spr for read.", "", "(no image)", "2 images"},
    {Cancelled, "pictures/sample.bmp", true, "", "", "(no image)", "0 images"},
    {Cancelled, "sprites/two.spr", true, "", "", "(no image)", "0 images"},
    {Dropped, "in/notes.txt", true,
     "Unable to load notes.txt: only Windows bitmaps (.bmp), PNG pictures (.png) and Creatures "
     "sprite files (.spr) can be loaded.",
     "", "(no image)", "0 images"},
};

class LoadTable : public MainWindow, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTable, ShowsWhatWasLoadedAndEntersTheFilesFolder) {
    const LoadCase& row = GetParam();
    const std::optional<FileKind> kind = KindOfFileName(row.path);
    const std::vector<std::uint8_t> bytes =
        kind == FileKind::Sprite ? EncodeSpriteFile(kTwoSprites).value()
        : NamesPngFile(row.path) ? EncodePicture(PatternImage(128, 64), "x.png").value()
                                 : Picture();
    if (row.arrival != Cancelled && !QString(row.path).startsWith("gone")) {
        WriteFile(row.path, bytes);
    }
    CurrentImage() = PatternImage(8, 3);
    CurrentSpriteSet() = kTwoSprites;
    window_->findChild<QRadioButton*>(row.dither ? "diffusionDither" : "nearestColor")->click();
    window_->keepBlackAction()->setChecked(row.black == BlackHandling::KeepVisible);

    if (row.arrival == Dropped) {
        Drop(row.path);
    } else {
        Click(kind == FileKind::Picture ? "loadBitmap" : "loadSprites",
              row.arrival == Button ? row.path : "");
        EXPECT_EQ(dialogs_->asked, QStringList{InitialFileName(*kind) + " open"});
    }

    const bool loaded = *row.error == 0 && row.arrival != Cancelled;
    EXPECT_EQ(seen_, *row.error ? QStringList{QString("File Error: ") + row.error} : QStringList{});
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(PathOf(row.folder)).canonicalPath());
    EXPECT_EQ(window_->findChild<QLabel*>("imageLabel")->text(), row.imageLabel);
    EXPECT_EQ(window_->findChild<QLabel*>("countLabel")->text(), row.countLabel);
    EXPECT_EQ(Lines(), (loaded && kind == FileKind::Sprite ? QStringList{"#0:\t4 × 2", "#1:\t3 × 5"}
                                                           : QStringList{}));
    const ConversionMode mode = row.dither ? ConversionMode::Dither : ConversionMode::Nearest;
    const IndexedImage image = loaded && kind == FileKind::Picture
                                   ? DecodePicture(bytes, mode, row.black).value()
                                   : PatternImage(8, 3);
    EXPECT_EQ(CurrentImage().pixels, image.pixels);  // its size: the label
    // A bitmap load reads the radio group into the mode; Add puts the group back to the mode.
    window_->findChild<QRadioButton*>("nearestColor")->click();
    Click("addSprite");
    EXPECT_EQ(window_->findChild<QRadioButton*>("diffusionDither")->isChecked(),
              row.dither && kind == FileKind::Picture);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, LoadTable, ::testing::ValuesIn(kLoads));

TEST_F(MainWindow, SavesWriteInTheChosenFolderAndReportFailures) {
    CurrentImage() = PatternImage(8, 3);
    CurrentSpriteSet() = kTwoSprites;
    ASSERT_TRUE(QDir().mkpath(PathOf("pictures")));
    Click("saveSprites", "saved.spr");
    Click("saveSprites", "gone/kept.spr");      // a folder that cannot be entered
    Click("saveBitmap", "pictures/saved.Png");  // PNG by the name, a bitmap by any other

    EXPECT_EQ(ReadTestFile(PathOf("pictures/saved.Png").toStdString()),
              EncodePicture(PatternImage(8, 3), "x.png").value());
    EXPECT_EQ(ReadTestFile(PathOf("saved.spr").toStdString()),
              EncodeSpriteFile(kTwoSprites).value());
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{"saved.spr"});
    EXPECT_EQ(seen_, QStringList{"File Error: Unable to open kept.spr for write."});
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(PathOf("pictures")).canonicalPath());
    EXPECT_EQ(dialogs_->asked, QStringList({"*.spr save", "*.spr save", "*.bmp save"}));
    EXPECT_EQ(NameFilters(FileKind::Picture),
              QStringList({"Windows Bitmap (*.BMP) (*.[bB][mM][pP])",
                           "PNG Image (*.PNG) (*.[pP][nN][gG])", "All files (*.*) (*)"}));
}

// The radio group and keep-black decide the reduction; a wrong shape stops before the target.
TEST_F(MainWindow, BackgroundCommandsWriteOnlyTheChosenFiles) {
    BitmapFields room = TrueColourBitmap(std::vector(1200, std::vector<Bgr>(8352)));
    std::iota(room.pixels.begin(), room.pixels.end(), std::uint8_t{0});
    WriteFile("room.bmp", BuildBitmap(room));
    WriteFile("small.bmp", Picture());
    WriteFile("two.spr", EncodeSpriteFile(kTwoSprites).value());
    CurrentImage() = PatternImage(8, 3);
    window_->findChild<QRadioButton*>("diffusionDither")->click();
    window_->keepBlackAction()->trigger();
    dialogs_->answers = {"room.bmp", "back.spr", "small.bmp", "back.spr", "room.PNG", "two.spr"};
    window_->OnMakeBackground();
    window_->OnMakeBackground();
    window_->OnExportBackground();
    window_->OnExportBackground();

    const IndexedImage whole =
        DecodePicture(BuildBitmap(room), ConversionMode::Dither, BlackHandling::KeepVisible)
            .value();
    EXPECT_EQ(ReadTestFile("back.spr"), EncodeSpriteFile(CutBackground(whole).value()).value());
    EXPECT_EQ(ReadTestFile("room.PNG"), EncodePicture(whole, "x.png").value());
    EXPECT_EQ(seen_,
              QStringList({"File Error: Unable to use small.bmp: a background must be 8352 × "
                           "1200 pixels; this picture is 127 × 64.",
                           "File Error: Unable to use two.spr: a background file holds 464 "
                           "sprites of 144 × 150."}));
    EXPECT_EQ(dialogs_->asked, QStringList({"*.bmp open", "*.spr save", "*.bmp open", "*.spr open",
                                            "*.bmp save", "*.spr open"}));
    EXPECT_EQ(CurrentImage().pixels, PatternImage(8, 3).pixels);
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
    EXPECT_EQ(dialogs.Choose({FileKind::Sprite, FileAction::Open}), PathOf("kept.spr"));
    answers_ = {Select(PathOf("locked/new.spr")), &QWidget::close,
                Select(PathOf("kept.spr")),       &QWidget::close,
                Select(PathOf("old.spr")),        Press(QMessageBox::No),
                Select(PathOf("old.spr")),        Press(QMessageBox::Yes)};
    EXPECT_EQ(dialogs.Choose({FileKind::Sprite, FileAction::Save}), PathOf("old.spr"));
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
