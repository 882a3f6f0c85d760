#include "accessibleboard.h"

#include "boardtable.h"

#include <QPointer>
#include <QWidget>

namespace quorin {
namespace {

// One square of the board for screen readers; it has no widget of its own.
class AccessibleCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    AccessibleCell(BoardTable* table, int index) : table_(table), index_(index) {}

    bool isValid() const override { return !table_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return table_ ? table_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(table_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && table_ ? table_->CellName(index_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!table_)
            return {};
        const int w = table_->width() / 8, h = table_->height() / 8;
        const QPoint corner = table_->mapToGlobal(QPoint(columnIndex() * w, rowIndex() * h));
        return {corner, QSize(w, h)};
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = s.selectable = true;
        s.focused = table_ && table_->hasFocus() && table_->CursorShown() &&
                    IndexOf(table_->Cursor()) == index_;
        s.selected = isSelected();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return table_ && table_->IsSelected(index_); }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return index_ % 8; }
    int rowIndex() const override { return index_ / 8; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<BoardTable> table_;
    int index_;
};

} // namespace

AccessibleBoard::AccessibleBoard(BoardTable* table)
    : QAccessibleWidget(table, QAccessible::Table) {}

AccessibleBoard::~AccessibleBoard() {
    for (const QAccessible::Id id : cells_)
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* AccessibleBoard::Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("quorin::BoardTable") && object && object->isWidgetType())
        return new AccessibleBoard(static_cast<BoardTable*>(object));
    return nullptr;
}

BoardTable* AccessibleBoard::table() const {
    return static_cast<BoardTable*>(widget());
}

void* AccessibleBoard::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* AccessibleBoard::child(int index) const {
    if (index < 0 || index >= 64)
        return nullptr;
    if (cells_[index] == 0)
        cells_[index] =
            QAccessible::registerAccessibleInterface(new AccessibleCell(table(), index));
    return QAccessible::accessibleInterface(cells_[index]);
}

int AccessibleBoard::indexOfChild(const QAccessibleInterface* child) const {
    const QAccessibleTableCellInterface* cell =
        child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
    return cell ? cell->rowIndex() * 8 + cell->columnIndex() : -1;
}

QAccessibleInterface* AccessibleBoard::childAt(int x, int y) const {
    const QPoint at = table()->mapFromGlobal(QPoint(x, y));
    if (!table()->rect().contains(at))
        return nullptr;
    return cellAt(at.y() * 8 / table()->height(), at.x() * 8 / table()->width());
}

QAccessibleInterface* AccessibleBoard::focusChild() const {
    return table()->hasFocus() && table()->CursorShown() ? child(IndexOf(table()->Cursor()))
                                                         : nullptr;
}

QAccessibleInterface* AccessibleBoard::cellAt(int row, int column) const {
    if (row < 0 || row > 7 || column < 0 || column > 7)
        return nullptr;
    return child(row * 8 + column);
}

QList<QAccessibleInterface*> AccessibleBoard::selectedCells() const {
    QList<QAccessibleInterface*> selected;
    for (int i = 0; i < 64; ++i)
        if (table()->IsSelected(i))
            selected << child(i);
    return selected;
}

} // namespace quorin
