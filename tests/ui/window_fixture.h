#pragma once
// A shown main window whose file dialogs answer from a script, in a fresh temporary working
// folder with an empty image and sprite set, and an answerer for the modal windows and menus
// it opens.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>

#include "core/bitmap_reader.h"
#include "core/indexed_image.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "tests/support/bitmap_builder.h"
#include "ui/main_dialog.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace quorvel::testing {

// Closes a window or menu as Escape would: cancels a dialog, takes a box's escape button.
inline void Dismiss(QWidget* window) {
    window->close();
}

// Answers modal windows and menus as they open, each by the next queued answer or else by
// dismissing it, and records each one's title and, for a message box, text: "title: text".
class ModalAnswerer : public QObject {
  public:
    using Answer = std::function<void(QWidget*)>;
    ModalAnswerer() { startTimer(5); }
    void Then(Answer answer) { answers.push_back(std::move(answer)); }
    // Answers a Yes/No box by clicking `button`; every such box must offer No as its default.
    // Any other window is closed, so that a test that meets one fails instead of waiting.
    void ThenPress(QMessageBox::StandardButton button) {
        Then([button](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            QAbstractButton* pressed = box != nullptr ? box->button(button) : nullptr;
            if (pressed == nullptr) {
                ADD_FAILURE() << "not a Yes/No box: " << window->windowTitle().toStdString();
                window->close();
                return;
            }
            EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
            pressed->click();
        });
    }

    QList<Answer> answers;
    QStringList seen;

  private:
    void timerEvent(QTimerEvent* /*event*/) override {
        QWidget* window = QApplication::activePopupWidget();
        window = window != nullptr ? window : QApplication::activeModalWidget();
        if (window == nullptr || window == handled_ || !window->isVisible()) {
            return;
        }
        handled_ = window;
        const auto* box = qobject_cast<QMessageBox*>(window);
        seen.push_back(window->windowTitle() + QStringLiteral(": ") + (box ? box->text() : ""));
        const Answer answer = answers.isEmpty() ? Answer(Dismiss) : answers.takeFirst();
        // From a fresh timer, so that a window the answer opens is seen by a later poll.
        QTimer::singleShot(0, this, [target = QPointer<QWidget>(window), answer] {
            if (target) {
                answer(target);
            }
        });
    }

    QPointer<QWidget> handled_;
};

// Answers each file dialog with the next scripted path; an empty one is a cancelled dialog.
class ScriptedFileDialogs : public FileDialogs {
  public:
    QString Choose(const FileChoice& choice) override {
        asked.emplace_back(choice.kind, choice.action);
        EXPECT_FALSE(answers.isEmpty()) << "a file dialog opened that the test did not expect";
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QStringList answers;
    std::vector<std::pair<FileKind, FileAction>> asked;
};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        QDir::setCurrent(folder_.path());
        CurrentImage() = IndexedImage{};
        CurrentSpriteSet() = SpriteSet{};
        window_ = std::make_unique<MainDialog>(std::unique_ptr<FileDialogs>(dialogs_));
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    void TearDown() override {
        EXPECT_TRUE(dialogs_->answers.isEmpty()) << "not every scripted file dialog opened";
        EXPECT_TRUE(answerer_.answers.isEmpty()) << "not every expected window opened";
        window_.reset();
        QDir::setCurrent(startFolder_);
    }

    void Pick(const QString& path) { dialogs_->answers.push_back(path); }
    QString PathOf(const QString& name) const { return folder_.filePath(name); }
    void Click(const char* button) { window_->findChild<QPushButton*>(button)->click(); }
    QString Text(const char* label) const { return window_->findChild<QLabel*>(label)->text(); }
    QStringList Lines() const {
        QStringList lines;
        const auto* list = window_->findChild<QListWidget*>("spriteList");
        for (int i = 0; i < list->count(); ++i) {
            lines.push_back(list->item(i)->text());
        }
        return lines;
    }
    bool DitherChecked() const {
        const bool dither = window_->findChild<QRadioButton*>("diffusionDither")->isChecked();
        EXPECT_NE(dither, window_->findChild<QRadioButton*>("nearestColor")->isChecked());
        return dither;
    }
    void CheckDither(bool dither) {
        window_->findChild<QRadioButton*>(dither ? "diffusionDither" : "nearestColor")->click();
    }

    QTemporaryDir folder_;
    const QString startFolder_ = QDir::currentPath();
    ScriptedFileDialogs* dialogs_ = new ScriptedFileDialogs;  // owned by the window
    std::unique_ptr<MainDialog> window_;
    ModalAnswerer answerer_;
};

// Drags `path` over the window and drops it there; the load runs once the drop is over.
inline void DropFile(QWidget* window, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter({100, 100}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    QCoreApplication::processEvents();
}

inline QString Canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}
inline void WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    WriteTestFile(path.toStdString(), bytes);
}

// A true-colour bitmap (127 × 64) of smooth colour changes, which the two conversion methods
// reduce differently.
inline std::vector<std::uint8_t> TrueColourSample() {
    std::vector<std::vector<Bgr>> rows(64, std::vector<Bgr>(127));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            rows[y][x] = {static_cast<std::uint8_t>(2 * x), static_cast<std::uint8_t>(4 * y),
                          static_cast<std::uint8_t>(x + y)};
        }
    }
    return BuildBitmap(TrueColourBitmap(rows));
}

// An image of palette entries 11 to 241 in diagonal stripes.
inline IndexedImage PatternImage(std::uint32_t width, std::uint32_t height) {
    IndexedImage image{width, height, std::vector<std::uint8_t>(std::size_t{width} * height)};
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = static_cast<std::uint8_t>(11 + (i % width + i / width) % 231);
    }
    return image;
}

}  // namespace quorvel::testing
