#pragma once

#include "ui/qt/file_dialogs.h"

class QWidget;

namespace quorvel {

// The file dialogs drawn by Qt itself rather than the desktop's own, so the filter texts
// read exactly as written and the checks below run the same everywhere.
class QtFileDialogs : public FileDialogs {
  public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}

    QStringList Choose(const FileChoice& choice) override;

  private:
    QWidget* parent_;
};

}  // namespace quorvel
