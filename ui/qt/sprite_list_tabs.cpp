#include "ui/qt/sprite_list_tabs.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextOption>

namespace quorvel {

namespace {

QTextOption TabbedText(int tabStopPixels) {
    QTextOption text(Qt::AlignLeft | Qt::AlignVCenter);
    text.setWrapMode(QTextOption::NoWrap);
    text.setTabStopDistance(tabStopPixels);
    return text;
}

}  // namespace

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();  // the style draws the background, selection and focus; the text is ours

    const QWidget* widget = item.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    const bool selected = (item.state & QStyle::State_Selected) != 0;
    const QPalette::ColorGroup group =
        (item.state & QStyle::State_Enabled) != 0 ? QPalette::Normal : QPalette::Disabled;
    painter->save();
    painter->setFont(item.font);
    painter->setPen(
        item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    // The text starts a couple of pixels in, as the style's own does; tab stops count from there.
    painter->drawText(QRectF(textRect), text, TabbedText(tabStopPixels_));
    painter->restore();
}

}  // namespace quorvel
