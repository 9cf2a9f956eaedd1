#include "windows/rxframes/rxlinelist.h"

#include "windows/rxframes/rxplot.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QHeaderView>
#include <QToolButton>

namespace {

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(color);
    return QIcon(pixmap);
}

} // namespace

RxLineList::RxLineList(RxPlot *plot, QWidget *parent)
    : QTableWidget(0, 3, parent)
    , m_plot(plot)
{
    setObjectName(QStringLiteral("RxLineTable"));
    setHorizontalHeaderLabels({tr("Line"), tr("Colour"), tr("Own Axis")});
    verticalHeader()->setVisible(false);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    setMinimumWidth(120);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() == 0 && item->row() < m_plot->lineCount())
            m_plot->setLineVisible(item->row(), item->checkState() == Qt::Checked);
    });
}

void RxLineList::refill()
{
    const bool blocked = blockSignals(true);
    clearContents();
    setRowCount(m_plot->lineCount());
    for (int line = 0; line < m_plot->lineCount(); ++line) {
        auto *name = new QTableWidgetItem(m_plot->graphOf(line)->name());
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        name->setCheckState(Qt::Checked);
        name->setToolTip(name->text());
        setItem(line, 0, name);
        auto *colour = new QToolButton(this);
        colour->setIcon(swatch(m_plot->lineColor(line)));
        colour->setAutoRaise(true);
        connect(colour, &QToolButton::clicked, this, [this, line, colour] {
            const QColor chosen = QColorDialog::getColor(m_plot->lineColor(line), this, tr("Line colour"));
            if (!chosen.isValid())
                return;
            m_plot->setLineColor(line, chosen);
            colour->setIcon(swatch(chosen));
        });
        setCellWidget(line, 1, colour);
        auto *own = new QCheckBox(this);
        connect(own, &QCheckBox::toggled, this, [this, line](bool on) { m_plot->setLineOwnAxis(line, on); });
        setCellWidget(line, 2, own);
    }
    blockSignals(blocked);
}
