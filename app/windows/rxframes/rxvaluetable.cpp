#include "windows/rxframes/rxvaluetable.h"

#include <QHeaderView>

RxValueTable::RxValueTable(QWidget *parent)
    : QTableWidget(0, 3, parent)
{
    setObjectName(QStringLiteral("RxValueTable"));
    setHorizontalHeaderLabels({tr("Field"), tr("Raw"), tr("Scaled")});
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void RxValueTable::setFields(const QStringList &names)
{
    clearContents();
    setRowCount(names.size());
    for (int row = 0; row < names.size(); ++row) {
        setItem(row, 0, new QTableWidgetItem(names.at(row)));
        for (int column = 1; column < 3; ++column) {
            auto *cell = new QTableWidgetItem();
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(row, column, cell);
        }
    }
}

void RxValueTable::setValue(int row, const QString &raw, double scaled)
{
    if (row < 0 || row >= rowCount())
        return;
    item(row, 1)->setText(raw);
    item(row, 2)->setText(scaledToText(scaled));
}

QString RxValueTable::rawText(int row) const
{
    const QTableWidgetItem *cell = item(row, 1);
    return cell ? cell->text() : QString();
}

QString RxValueTable::scaledText(int row) const
{
    const QTableWidgetItem *cell = item(row, 2);
    return cell ? cell->text() : QString();
}

QString RxValueTable::scaledToText(double value)
{
    // The shortest text that reads back as the same double.
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}
