#pragma once
// A main window on its own, with scripted file dialogs, a temporary folder to put files in,
// and a clean current image, sprite set and working folder for every test.

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "core/indexed_image.h"
#include "tests/ui/modal_answerer.h"
#include "ui/file_dialogs.h"
#include "ui/main_dialog.h"

namespace quorvel::testing {

// Answers each Choose with the next scripted path; an empty path is a cancelled dialog.
class ScriptedFileDialogs : public FileDialogs {
  public:
    QString Choose(const FileChoice& choice) override;

    std::deque<QString> answers;
    std::vector<FileChoice> asked;
};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The next file dialog picks `path`; Cancel() makes it cancelled.
    void Pick(const QString& path) { dialogs_->answers.push_back(path); }
    void Cancel() { dialogs_->answers.push_back(QString()); }

    QString PathOf(const QString& name) const { return folder_.filePath(name); }
    void Click(const char* button);
    QStringList Lines() const;
    int Selected() const;
    QString ImageLabel() const;
    QString CountLabel() const;
    bool DitherChecked() const;
    void CheckDither(bool dither);

    QTemporaryDir folder_;
    QString startFolder_;
    ScriptedFileDialogs* dialogs_ = nullptr;
    std::unique_ptr<MainDialog> window_;
    ModalAnswerer answerer_;
};

// Files for the commands to read.
void WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadFile(const QString& path);
// A 24-bit bitmap whose colours change smoothly, so the two conversion methods differ.
std::vector<std::uint8_t> GradientBitmap(std::uint32_t width, std::uint32_t height);
// An image whose pixel (x, y) is `first` + x + y, wrapping within 11-241.
IndexedImage PatternImage(std::uint32_t width, std::uint32_t height, std::uint8_t first = 11);

}  // namespace quorvel::testing
