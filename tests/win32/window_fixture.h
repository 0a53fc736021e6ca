#pragma once
// The main window opened in the test process from its resource template, with file dialogs
// and message boxes that answer from a script and record what they were asked, in a fresh
// temporary working folder with an empty image and sprite set.

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/indexed_image.h"
#include "sprites/sprite_set.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/temp_folder.h"
#include "win32/main_dialog.h"
#include "win32/resource.h"

namespace quorvel::testing {

namespace fs = std::filesystem;
using Asked = std::vector<std::pair<FileKind, FileAction>>;

// Answers each file dialog with the next scripted path; an empty one is a cancelled dialog.
class ScriptedFileDialogs final : public FileDialogs {
  public:
    std::wstring Choose(HWND /*owner*/, FileKind kind, FileAction action) override {
        asked.emplace_back(kind, action);
        EXPECT_FALSE(answers.empty()) << "a file dialog opened that the test did not expect";
        if (answers.empty()) {
            return {};
        }
        std::wstring answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::wstring> answers;
    Asked asked;
};

struct ShownBox {
    std::wstring caption;
    std::wstring text;
    UINT style;
    bool operator==(const ShownBox&) const = default;
};

// Records each message box and presses the next scripted button (OK when none is left).
class ScriptedMessageBoxes final : public MessageBoxes {
  public:
    int Show(HWND /*owner*/, const std::wstring& text, const std::wstring& caption,
             UINT style) override {
        shown.push_back({caption, text, style});
        if (answers.empty()) {
            return IDOK;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<int> answers;
    std::vector<ShownBox> shown;
};

inline constexpr UINT kFileErrorStyle = MB_OK | MB_ICONERROR;

inline ShownBox FileError(const std::wstring& text) {
    return {L"File Error", text, kFileErrorStyle};
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::current_path(folder_);
        CurrentImage() = IndexedImage{};
        CurrentSpriteSet() = SpriteSet{};
        OpenWindow();
    }
    void TearDown() override {
        EXPECT_TRUE(dialogs_->answers.empty()) << "not every scripted file dialog opened";
        EXPECT_TRUE(boxes_->answers.empty()) << "not every scripted message box opened";
        window_.reset();
        fs::current_path(startFolder_);
    }

    // A new window with fresh scripts, as after the program's start.
    void OpenWindow() {
        window_.reset();
        dialogs_ = new ScriptedFileDialogs;
        boxes_ = new ScriptedMessageBoxes;
        window_ = std::make_unique<MainDialog>(std::unique_ptr<FileDialogs>(dialogs_),
                                               std::unique_ptr<MessageBoxes>(boxes_));
        ASSERT_NE(window_->Open(), nullptr);
    }

    HWND Window() const { return window_->Handle(); }
    void Pick(const fs::path& path) { dialogs_->answers.push_back(path.wstring()); }
    fs::path Path(const std::wstring& name) const { return folder_ / name; }
    void Click(int button) { SendDlgItemMessageW(Window(), button, BM_CLICK, 0, 0); }
    std::wstring Text(int control) const {
        wchar_t text[256] = {};
        GetDlgItemTextW(Window(), control, text, 256);
        return text;
    }
    std::vector<std::wstring> Lines() const {
        std::vector<std::wstring> lines;
        const auto count = SendDlgItemMessageW(Window(), IDC_SPRITE_LIST, LB_GETCOUNT, 0, 0);
        for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
            std::wstring line(static_cast<std::size_t>(SendDlgItemMessageW(
                                  Window(), IDC_SPRITE_LIST, LB_GETTEXTLEN, i, 0)),
                              L'\0');
            SendDlgItemMessageW(Window(), IDC_SPRITE_LIST, LB_GETTEXT, i,
                                reinterpret_cast<LPARAM>(line.data()));
            lines.push_back(line);
        }
        return lines;
    }
    bool DitherChecked() const {
        const bool dither = IsDlgButtonChecked(Window(), IDC_DIFFUSION_DITHER) == BST_CHECKED;
        EXPECT_NE(dither, IsDlgButtonChecked(Window(), IDC_NEAREST_COLOR) == BST_CHECKED);
        return dither;
    }
    void CheckDither(bool dither) { Click(dither ? IDC_DIFFUSION_DITHER : IDC_NEAREST_COLOR); }
    static bool InFolder(const fs::path& folder) {
        return fs::equivalent(fs::current_path(), folder);
    }

    TempFolder temp_;
    const fs::path folder_ = temp_.path();
    const fs::path startFolder_ = fs::current_path();
    ScriptedFileDialogs* dialogs_ = nullptr;  // owned by the window
    ScriptedMessageBoxes* boxes_ = nullptr;   // owned by the window
    std::unique_ptr<MainDialog> window_;
};

inline void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    WriteTestFile(Utf8Of(path), bytes);
}
inline std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    return ReadTestFile(Utf8Of(path));
}

// A true-colour bitmap (61 × 30) of smooth colour changes, which the two conversion methods
// reduce differently.
inline std::vector<std::uint8_t> TrueColourSample() {
    std::vector<std::vector<Bgr>> rows(30, std::vector<Bgr>(61));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            rows[y][x] = {static_cast<std::uint8_t>(4 * x), static_cast<std::uint8_t>(8 * y),
                          static_cast<std::uint8_t>(200 - 3 * x)};
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

inline bool SameImage(const IndexedImage& a, const IndexedImage& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

}  // namespace quorvel::testing
