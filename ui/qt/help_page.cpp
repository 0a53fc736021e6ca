#include "ui/qt/help_page.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/qt/app_resources.h"

namespace quorvel {

void ShowHelpPage(QWidget* parent) {
    QDialog page(parent);
    page.setObjectName(QStringLiteral("helpPage"));
    page.setWindowTitle(QStringLiteral("quorvel Help"));
    page.resize(480, 520);

    auto* text = new QTextBrowser(&page);
    text->setHtml(HelpText());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &page);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &page, &QDialog::reject);

    auto* layout = new QVBoxLayout(&page);
    layout->addWidget(text);
    layout->addWidget(buttons);
    page.exec();
}

}  // namespace quorvel
