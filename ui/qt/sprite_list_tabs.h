#pragma once
// Draws the sprite list's lines with their tab stops: a list line is "#3\t32 × 40", and the
// size after the tab lines up in a column however wide the number before it.

#include <QStyledItemDelegate>

namespace quorvel {

// A list's tab stops lie every 32 dialog units, eight average characters.
inline constexpr int kListTabStopUnits = 32;

class TabStopDelegate : public QStyledItemDelegate {
  public:
    TabStopDelegate(int tabStopPixels, QObject* parent)
        : QStyledItemDelegate(parent), tabStopPixels_(tabStopPixels) {}

    int tabStopPixels() const { return tabStopPixels_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    int tabStopPixels_;
};

}  // namespace quorvel
