#pragma once

#include <QTableWidget>

// Grid cell access that never fails on a cell without an item.
inline QTableWidgetItem* Cell(QTableWidget* grid, int row, int column)
{
    QTableWidgetItem* cell = grid->item(row, column);
    if (!cell) {
        // A row added later looks like the first one of its column.
        if (const QTableWidgetItem* first = grid->item(0, column)) {
            cell = first->clone();
            cell->setData(Qt::DisplayRole, QVariant());
        } else {
            cell = new QTableWidgetItem;
            cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
        }
        grid->setItem(row, column, cell);
    }
    return cell;
}

inline void SetCellText(QTableWidget* grid, int row, int column, const QString& text)
{
    Cell(grid, row, column)->setText(text);
}

inline QString CellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* cell = grid->item(row, column);
    return cell ? cell->text() : QString();
}
