#pragma once
// Answers the modal windows and pop-up menus that the code under test opens and waits on,
// in the order they appear, and records what each one showed.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#include "tests/ui/qt_printers.h"

class QWidget;

namespace quorvel::testing {

struct SeenWindow {
    QString className;
    QString title;
    QString text;         // a message box's text
    int icon = 0;         // a message box's QMessageBox::Icon
    QStringList buttons;  // a message box's button texts
    QStringList actions;  // a menu's item texts, "-" for a separator
};

class ModalAnswerer : public QObject {
  public:
    using Answer = std::function<void(QWidget*)>;

    ModalAnswerer();

    // How to answer the next window or menu; without one it is recorded and dismissed.
    void Then(Answer answer) { answers_.push_back(std::move(answer)); }

    const std::vector<SeenWindow>& seen() const { return seen_; }
    bool allAnswersUsed() const { return answers_.empty(); }

  private:
    void Poll();

    QTimer timer_;
    QPointer<QWidget> handled_;
    std::deque<Answer> answers_;
    std::vector<SeenWindow> seen_;
};

// Answers for common cases.
void Dismiss(QWidget* window);                            // Escape: cancel, close
void ClickButton(QWidget* window, const QString& text);   // a button by its text
void ChooseMenuItem(QWidget* menu, const QString& text);  // a menu item by its text

}  // namespace quorvel::testing
