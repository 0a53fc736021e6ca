#include "tests/ui/modal_answerer.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

namespace quorvel::testing {

ModalAnswerer::ModalAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start();
}

void ModalAnswerer::Poll() {
    QWidget* window = QApplication::activePopupWidget();
    if (window == nullptr) {
        window = QApplication::activeModalWidget();
    }
    if (window == nullptr || window == handled_ || !window->isVisible()) {
        return;
    }
    handled_ = window;

    SeenWindow seen;
    seen.className = QString::fromUtf8(window->metaObject()->className());
    seen.title = window->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons.push_back(button->text());
        }
    }
    if (auto* menu = qobject_cast<QMenu*>(window)) {
        for (QAction* action : menu->actions()) {
            seen.actions.push_back(action->isSeparator() ? QStringLiteral("-") : action->text());
        }
    }
    seen_.push_back(seen);

    Answer answer = Dismiss;
    if (!answers_.empty()) {
        answer = std::move(answers_.front());
        answers_.pop_front();
    }
    // Answered from a fresh timer, so that a window the answer opens is seen by this poll.
    QPointer<QWidget> target = window;
    QTimer::singleShot(0, this, [target, answer] {
        if (target) {
            answer(target);
        }
    });
}

void Dismiss(QWidget* window) {
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        QAbstractButton* button = box->escapeButton();
        if (button == nullptr && !box->buttons().isEmpty()) {
            button = box->buttons().constFirst();
        }
        if (button != nullptr) {
            button->click();
            return;
        }
    }
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->reject();
        return;
    }
    window->close();
}

void ClickButton(QWidget* window, const QString& text) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().remove(u'&') == text) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    Dismiss(window);
}

void ChooseMenuItem(QWidget* window, const QString& text) {
    auto* menu = qobject_cast<QMenu*>(window);
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
        if (action->text() == text) {
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
            return;
        }
    }
    ADD_FAILURE() << "no menu item " << text.toStdString();
    menu->close();
}

}  // namespace quorvel::testing
