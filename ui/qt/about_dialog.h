#pragma once
// The small box that names the program and its version.

#include <QDialog>

namespace quorvel {

class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace quorvel
