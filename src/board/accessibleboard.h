#pragma once

#include <QAccessibleWidget>

#include <array>

namespace quorin {

class BoardTable;

// The board as screen readers see it: a table named "盤" of 8 rows and 8 columns, the
// player's view, row 0 at the top; its 64 cells are named by BoardTable::CellName, the
// keyboard cursor's cell is focused and a chosen piece's cell selected.
class AccessibleBoard : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit AccessibleBoard(BoardTable* table);
    ~AccessibleBoard() override;

    // Makes the interface of a BoardTable; Qt asks each factory installed.
    static QAccessibleInterface* Factory(const QString& className, QObject* object);

    BoardTable* table() const;

    // QAccessibleInterface
    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override { return 64; }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return int(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return 8; }
    int rowCount() const override { return 8; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    // The cells, made at their first use and kept by Qt's registry.
    mutable std::array<QAccessible::Id, 64> cells_{};
};

} // namespace quorin
